// The designed face and the controls measured for it: with each example plan open, no caption,
// list entry, grid text or name in any window is cut short.
#include "app/DesignedFont.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TFormInputBox.h"
#include "compare/ui/TFormComp.h"
#include "planlist/ui/TFormIndex.h"
#include "../support/ExampleProgramFolder.h"
#include "../support/QtTestApp.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString kExamples = TESSARAY_EXAMPLES;

std::string Where(const QWidget* w) {
    return (w->window()->objectName() + "/" + w->objectName() + " \"").toStdString();
}

int TextWidth(const QWidget* w, const QString& text) {
    return w->fontMetrics().horizontalAdvance(text);
}

/// Every caption, button text and drop-down entry of a shown window fits its control.
void ExpectControlsFit(QWidget* window) {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || label->wordWrap() || label->text().isEmpty()) continue;
        EXPECT_LE(TextWidth(label, label->text()), label->contentsRect().width())
            << Where(label) << label->text().toStdString() << "\"";
    }
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        // Tool buttons show icons; their texts are hints.
        if (!button->isVisibleTo(window) || button->text().isEmpty() || button->inherits("QToolButton"))
            continue;
        // Check boxes and radio buttons need their mark beside the text; push buttons a margin.
        const bool marked = qobject_cast<const QCheckBox*>(button) ||
                            qobject_cast<const QRadioButton*>(button);
        const int needed = marked ? button->sizeHint().width()
                                  : TextWidth(button, button->text().remove('&')) + 8;
        EXPECT_LE(needed, button->width()) << Where(button) << button->text().toStdString() << "\"";
    }
    for (const QGroupBox* group : window->findChildren<QGroupBox*>()) {
        if (!group->isVisibleTo(window) || group->title().isEmpty()) continue;
        EXPECT_LE(TextWidth(group, group->title()), group->width()) << Where(group);
    }
    for (QComboBox* box : window->findChildren<QComboBox*>()) {
        if (!box->isVisibleTo(window) || box->isEditable()) continue;
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.frame = box->hasFrame();
        const int field =
            box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box).width();
        for (int i = 0; i < box->count(); ++i)
            EXPECT_LE(TextWidth(box, box->itemText(i)), field - 2)
                << Where(box) << box->itemText(i).toStdString() << "\"";
    }
    for (const QHeaderView* header : window->findChildren<QHeaderView*>()) {
        if (!header->isVisibleTo(window) || header->orientation() != Qt::Horizontal) continue;
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c)) continue;
            const QString text = header->model()->headerData(c, Qt::Horizontal).toString();
            EXPECT_LE(TextWidth(header, text) + 2 * margin, header->sectionSize(c))
                << Where(header) << text.toStdString() << "\"";
        }
    }
}

/// The leftmost and rightmost columns of text pixels of `area` in `image`: clearly darker than
/// the area's bottom right corner, its background (the text is grey while a dialog is open).
std::pair<int, int> InkSpan(const QImage& image, const QRect& area) {
    const int background = image.pixelColor(area.bottomRight() - QPoint(1, 1)).value();
    int left = area.right() + 1, right = area.left() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).value() < background - 30) left = std::min(left, x), right = std::max(right, x);
    return {left, right};
}

/// Text cells of a grid's first columns as the grid paints them: each text as wide as when
/// written alone (not shortened to an ellipsis) and clear of its cell's right edge (not cut).
void ExpectCellsFit(QTableWidget* grid, int lastColumn) {
    grid->clearSelection();  // text on the grid's own face
    // The grid with whatever lies over its cells (the comparison's fixed columns).
    const QImage shot = grid->grab().toImage();
    const QFontMetrics metrics(grid->font());
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c <= lastColumn; ++c) {
            const QTableWidgetItem* item = grid->item(r, c);
            const QRect cell = item ? grid->visualItemRect(item).translated(grid->viewport()->pos()) : QRect();
            if (!item || item->text().isEmpty() || !shot.rect().contains(cell)) continue;
            QImage alone(metrics.horizontalAdvance(item->text()) + 8, metrics.height(), QImage::Format_RGB32);
            alone.fill(Qt::white);
            QPainter painter(&alone);
            painter.setFont(grid->font());
            painter.drawText(4, metrics.ascent(), item->text());
            painter.end();
            const auto [aloneLeft, aloneRight] = InkSpan(alone, alone.rect());
            const auto [left, right] = InkSpan(shot, cell);
            EXPECT_GE(right - left, aloneRight - aloneLeft - 1)
                << Where(grid) << item->text().toStdString() << "\" shortened";
            EXPECT_LT(right, cell.right() - 1) << Where(grid) << item->text().toStdString() << "\" cut";
        }
}

}  // namespace

TEST(FontFit, DesignedTextsAndExampleNamesFitTheirControls) {
    TestApp();
    UseDesignedFont();
    // Tahoma wherever the set-up script could install it; else a face of fitting widths.
    if (QFile::exists("/usr/share/wine/fonts/tahoma.ttf") || QFontDatabase::families().contains("Tahoma")) {
        EXPECT_EQ(DesignedFontFamily(), "Tahoma");
    }

    QTemporaryDir home;
    ASSERT_TRUE(UseExampleProgramFolder(home));

    CreateForms();
    Form1->show();
    const QStringList examples = QDir(kExamples).entryList({"*.txt"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(examples.isEmpty());
    for (const QString& example : examples) {
        SCOPED_TRACE(example.toStdString());
        Form1->OpenFiles({(kExamples + "/" + example).toStdString()});
        if (FormInputBox->isVisible()) {  // a plan sum asks for its prescribed dose
            FormInputBox->Edit1->setText("78");
            FormInputBox->Button1->click();
        }
        ASSERT_GE(Form1->CurrentPlanIndex, 0);
        ExpectControlsFit(Form1);
        ExpectCellsFit(Form1->StringGrid1, 1);
        const int idWidth = Form1->ListView1->columnWidth(0) - 8;  // the row's margins
        for (int r = 0; r < Form1->ListView1->topLevelItemCount(); ++r)
            EXPECT_LE(TextWidth(Form1->ListView1, Form1->ListView1->topLevelItem(r)->text(0)), idWidth);
    }
    // The comparison of every example plan: its index table.
    Form1->PlanComparison1->trigger();
    FormComp->Button4->click();  // "Add ALL"
    ExpectCellsFit(FormComp->StringGrid1, 1);
    FormComp->hide();

    // The dialogs, each as it is shown.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const QString name = window->objectName();
        if (window == Form1 || !(name.startsWith("Form") || name == "AboutBox")) continue;
        SCOPED_TRACE(name.toStdString());
        if (window == FormIndex) FormIndex->ComboBox1->setCurrentIndex(16);  // its widest line
        window->show();
        ExpectControlsFit(window);
        window->hide();
    }

    delete Form1;  // its dialogs go with it; the next CreateForms sets every pointer anew
    Form1 = nullptr;
    qunsetenv("TESSARAY_HOME");
}
