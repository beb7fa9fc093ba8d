// The quick-index panel's widget side: reading the query, showing the result, the value
// field's set-up and its key filter.
#include "planlist/ui/QuickIndexPanel.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>

QuickIndexQuery ReadQuickIndexQuery(const QComboBox* structures, const QComboBox* kinds,
                                    const QLineEdit* value) {
    QuickIndexQuery q;
    q.StructureIndex = structures->currentIndex();
    q.Kind = kinds->currentIndex();
    q.ValueText = value->text().toStdString();
    return q;
}

void ShowQuickIndexResult(QLineEdit* resultField, float result, int digits) {
    resultField->setText(QString::fromStdString(QuickIndexResultText(result, digits)));
}

void SetUpQuickValueField(QLineEdit* valueField, int kind) {
    QPalette palette = valueField->palette();
    if (QuickKindTakesValue(kind)) {
        valueField->setReadOnly(false);
        palette.setColor(QPalette::Base, valueField->style()->standardPalette().color(QPalette::Base));
        valueField->setPalette(palette);
        valueField->setFocus();
    } else {
        valueField->clear();
        valueField->setReadOnly(true);
        palette.setColor(QPalette::Base, valueField->style()->standardPalette().color(QPalette::Button));
        valueField->setPalette(palette);
    }
}

bool QuickValueKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString typed = key->text();
    if (typed.isEmpty()) return false;  // navigation and editing keys
    auto* field = qobject_cast<QLineEdit*>(watched);
    const char16_t c = typed.at(0).unicode();
    const std::string text = field ? field->text().toStdString() : std::string();
    const bool accepted = c < 128 && QuickValueKeyAccepted(text, static_cast<char>(c));
    return !accepted;  // true swallows the key
}
