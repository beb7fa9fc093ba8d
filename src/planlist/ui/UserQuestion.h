// Message boxes of the plan-list commands: shown without a modal loop, answered by a callback.
#pragma once

#include "planlist/PlanListNaming.h"
#include "widgets/MessageBoxes.h"

#include <QString>

#include <functional>
#include <string>

/// Shows `message` owned by `owner` and returns at once. A `role` of BoxRole::Question holds
/// the program's windows until the box is answered; give it to every box whose `answered` acts.
/// `answered` runs once the box is closed, with true when OK or Yes was clicked (false for
/// Cancel, No or the close box).
QMessageBox* ShowUserMessage(QWidget* owner, BoxRole role, const UserMessage& message, QMessageBox::Icon icon,
                             QMessageBox::StandardButtons buttons, const QString& objectName,
                             std::function<void(bool accepted)> answered = {});
