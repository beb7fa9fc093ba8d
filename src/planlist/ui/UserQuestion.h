// Message boxes of the plan-list commands: shown without a modal loop, answered by a callback.
#pragma once

#include "planlist/PlanListNaming.h"

#include <QMessageBox>
#include <QString>

#include <functional>
#include <string>

/// 8-bit text for display: UTF-8 when valid, else the bytes as Latin-1.
QString DisplayText(const std::string& bytes);

/// Shows `message` owned by `owner` and returns at once. `answered` runs once the box is
/// closed, with true when OK or Yes was clicked (false for Cancel, No or the close box).
QMessageBox* ShowUserMessage(QWidget* owner, const UserMessage& message, QMessageBox::Icon icon,
                             QMessageBox::StandardButtons buttons, const QString& objectName,
                             std::function<void(bool accepted)> answered = {});
