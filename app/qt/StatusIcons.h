// The icons beside the files window's status words, so that no status is told by colour alone.
#pragma once

#include <QIcon>
#include <QStyle>

#include "app/checks/Audit.h"
#include "app/checks/ListCheck.h"

namespace tolvek::desktop {

QIcon StatusIcon(const QStyle& style, checks::CheckStatus status);
// A class of a folder checked against a list: those a list check has, its status's icon.
QIcon AuditIcon(const QStyle& style, checks::AuditClass kind);

}  // namespace tolvek::desktop
