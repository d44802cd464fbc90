#include "app/qt/StatusIcons.h"

namespace tolvek::desktop {

QIcon StatusIcon(const QStyle& style, checks::CheckStatus status) {
    switch (status) {
        case checks::CheckStatus::Ok:
            return style.standardIcon(QStyle::SP_DialogApplyButton);
        case checks::CheckStatus::Failed:
            return style.standardIcon(QStyle::SP_MessageBoxCritical);
        case checks::CheckStatus::Missing:
            return style.standardIcon(QStyle::SP_MessageBoxQuestion);
        case checks::CheckStatus::Unreadable:
            return style.standardIcon(QStyle::SP_MessageBoxWarning);
        case checks::CheckStatus::Cancelled:
            return style.standardIcon(QStyle::SP_BrowserStop);
    }
    return {};
}

QIcon AuditIcon(const QStyle& style, checks::AuditClass kind) {
    switch (kind) {
        case checks::AuditClass::Unchanged:
            return StatusIcon(style, checks::CheckStatus::Ok);
        case checks::AuditClass::Changed:
            return StatusIcon(style, checks::CheckStatus::Failed);
        case checks::AuditClass::Moved:
            return style.standardIcon(QStyle::SP_ArrowForward);
        case checks::AuditClass::New:
            return style.standardIcon(QStyle::SP_FileIcon);
        case checks::AuditClass::Missing:
            return StatusIcon(style, checks::CheckStatus::Missing);
        case checks::AuditClass::Unreadable:
            return StatusIcon(style, checks::CheckStatus::Unreadable);
    }
    return {};
}

}  // namespace tolvek::desktop
