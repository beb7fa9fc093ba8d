// The quick-index panel's widget side: reading the query, showing the result, the value
// field's set-up and its key filter.
#include "planlist/ui/QuickIndexPanel.h"

#include <QComboBox>
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

bool QuickValueKeyRefused(const QString& fieldText, const QString& typed) {
    if (typed.isEmpty()) return false;  // navigation and editing keys
    const char16_t c = typed.at(0).unicode();
    return c >= 128 || !QuickValueKeyAccepted(fieldText.toStdString(), static_cast<char>(c));
}
