// The quick-index panel's widget side: reading the query, showing the result, the value
// field's set-up and its key filter.
#pragma once

#include "planlist/QuickIndex.h"

#include <QString>

class QComboBox;
class QLineEdit;

/// The query the three inputs hold (item indexes, -1 for none, and the typed text).
QuickIndexQuery ReadQuickIndexQuery(const QComboBox* structures, const QComboBox* kinds,
                                    const QLineEdit* value);

/// Shows `result` in the result field with `digits` decimals; empties it for no value.
void ShowQuickIndexResult(QLineEdit* resultField, float result, int digits);

/// A kind change: kinds 0-7 make the value field editable, white and focused; kinds 8-16
/// empty it, make it read-only and grey.
void SetUpQuickValueField(QLineEdit* valueField, int kind);

/// Whether a key typed into the value field holding `fieldText` is dropped: every character
/// but digits, backspace and one point. Keys without text (arrows, Delete) are never dropped.
bool QuickValueKeyRefused(const QString& fieldText, const QString& typed);
