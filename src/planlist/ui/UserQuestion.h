// Message boxes of the plan-list commands: shown without a modal loop, answered by a callback.
#pragma once

#include "planlist/PlanListNaming.h"

#include <QMessageBox>
#include <QString>

#include <functional>
#include <string>

/// Shows `message` owned by `owner` and returns at once. `answered` runs once the box is
/// closed, with true when OK or Yes was clicked (false for Cancel, No or the close box).
QMessageBox* ShowUserMessage(QWidget* owner, const UserMessage& message, QMessageBox::Icon icon,
                             QMessageBox::StandardButtons buttons, const QString& objectName,
                             std::function<void(bool accepted)> answered = {});
