// The file dialogs, question box and algorithm picker the files window uses in the program.
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "app/qt/AlgorithmPicker.h"
#include "app/qt/BoxButtons.h"
#include "app/qt/ListWindowView.h"

namespace tolvek::desktop {

namespace {

QString fromBytes(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

ListWindowServices ListWindowServices::System() {
    return {[](QWidget* owner, const std::string& suggested) -> std::optional<std::string> {
                // The list window asks before it replaces a file, and writes atomically itself.
                const QString chosen =
                    QFileDialog::getSaveFileName(owner, QString(), fromBytes(suggested), QString(),
                                                 nullptr, QFileDialog::DontConfirmOverwrite);
                return chosen.isEmpty() ? std::nullopt
                                        : std::optional(QFile::encodeName(chosen).toStdString());
            },
            [](QWidget* owner, const std::string& question, const window::BoxButtons& buttons) {
                QMessageBox box(QMessageBox::Question, owner->windowTitle(), fromBytes(question),
                                QMessageBox::Yes | QMessageBox::No, owner);
                NameStandardButtons(box, buttons);
                return box.exec() == QMessageBox::Yes;
            },
            [](QWidget* owner) {
                std::vector<std::string> names;
                for (const QString& name : QFileDialog::getOpenFileNames(owner)) {
                    names.push_back(QFile::encodeName(name).toStdString());
                }
                return names;
            },
            [](QWidget* owner) -> std::optional<std::string> {
                const QString chosen = QFileDialog::getExistingDirectory(owner);
                return chosen.isEmpty() ? std::nullopt
                                        : std::optional(QFile::encodeName(chosen).toStdString());
            },
            [](QWidget* owner, const window::ListWindowTexts& texts,
               const std::vector<const hashing::AlgorithmEntry*>& chosen)
                -> std::optional<std::vector<const hashing::AlgorithmEntry*>> {
                AlgorithmPicker picker(owner, texts, chosen);
                if (picker.exec() != QDialog::Accepted) {
                    return std::nullopt;
                }
                return picker.chosen();
            }};
}

}  // namespace tolvek::desktop
