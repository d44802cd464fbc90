// The files window's algorithm picker: every entry, ticked or not, under its group (modern,
// classic, checksums), with a search field that hides the entries whose id and caption do not
// hold what is typed.
#pragma once

#include <QDialog>
#include <vector>

#include "app/window/ListWindow.h"

class QLineEdit;
class QTreeWidget;

namespace tolvek::desktop {

class AlgorithmPicker final : public QDialog {
    Q_OBJECT

public:
    AlgorithmPicker(QWidget* owner, const window::ListWindowTexts& texts,
                    const std::vector<const hashing::AlgorithmEntry*>& chosen);

    // The entries ticked, in table order.
    std::vector<const hashing::AlgorithmEntry*> chosen() const;

private:
    void filter(const QString& text);

    QLineEdit* m_search;
    QTreeWidget* m_entries;
};

}  // namespace tolvek::desktop
