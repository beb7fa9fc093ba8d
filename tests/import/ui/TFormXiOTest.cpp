// The XiO dialog: dose filter and unit, the checks of OK, preselection, the store's dose, Cancel
// and the close box, and the fields' bytes.
#include "import/ui/TFormXiO.h"

#include "../../support/QtTestApp.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace {

class XiODialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_main.show();
        m_form = new TFormXiO(&m_main);
        m_form->OnOk = [this](const XiODialogAnswer& a) { m_answer = a; };
        m_form->OnCancel = [this] { ++m_cancelled; };
        XiOLoadRequest request;
        request.FilePath = "/tmp/x.txt";
        request.Names = {"External", "body", "PTV"};
        m_request = request;
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "XiOErrorBox") delete w;
        delete m_form;
    }
    void Ask() { m_form->Ask(m_request, "Doe", "P-7", "Plan X", "Plan X", {"Pelvis", "Head"}); }
    QString ErrorText() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "XiOErrorBox" && w->isVisible()) {
                const QString text = static_cast<QMessageBox*>(w)->text();
                w->close();
                return text;
            }
        return {};
    }
    QLineEdit* Dose() { return m_form->findChild<QLineEdit*>("Edit5"); }
    QString Unit() { return m_form->findChild<QLabel*>("Label6")->text(); }

    QApplication* m_app = &TestApp();
    QWidget m_main;
    TFormXiO* m_form = nullptr;
    XiOLoadRequest m_request;
    std::optional<XiODialogAnswer> m_answer;
    int m_cancelled = 0;
};

}  // namespace

TEST_F(XiODialogTest, DoseUnitAndChecksOfOk) {
    Ask();
    EXPECT_FALSE(m_main.isEnabled());
    EXPECT_EQ(m_form->findChild<QComboBox*>("ComboBox1")->currentText(), "body");
    EXPECT_EQ(m_form->findChild<QListWidget*>("ListBox1")->currentItem()->text(), "N/A");

    // Letters and a second point never reach the field.
    Dose()->clear();
    QTest::keyClicks(Dose(), "6a0.0.5");
    EXPECT_EQ(Dose()->text(), "60.05");

    struct Case { const char* text; const char* unit; const char* error; float gy; };
    const Case cases[] = {
        {"", "Gy", "Prescribed dose is not specified.", 0},
        {"0", "Gy", "Prescribed dose must be a number greater than 0.", 0},
        {".", "Gy", "Prescribed dose must be a number greater than 0.", 0},
        {"89.9", "Gy", nullptr, 89.9f},
        {"90", "Gy", nullptr, 90},
        {"6000", "cGy", nullptr, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (!m_form->isVisible()) Ask();
        Dose()->setText(c.text);
        EXPECT_EQ(Unit(), c.unit);
        m_answer.reset();
        m_form->findChild<QPushButton*>("Button1")->click();
        if (c.error) {
            EXPECT_EQ(ErrorText(), c.error);
            EXPECT_TRUE(m_form->isVisible());
            EXPECT_FALSE(m_answer);
        } else {
            ASSERT_TRUE(m_answer);
            EXPECT_FLOAT_EQ(m_answer->DoseGy, c.gy);
            EXPECT_EQ(m_answer->NormalTissueItem, 2);
            EXPECT_EQ(m_answer->PlanListItem, 0);
            EXPECT_EQ(m_answer->PatientName, "Doe");
            EXPECT_FALSE(m_form->isVisible());
            EXPECT_TRUE(m_main.isEnabled());
        }
    }
}

TEST_F(XiODialogTest, StoreCompanionGivesTheDoseAndCancelHandsBack) {
    Ask();
    Dose()->setText("45");
    m_form->findChild<QPushButton*>("Button2")->click();
    EXPECT_EQ(m_cancelled, 1);
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_TRUE(m_main.isEnabled());

    // The dose field keeps its text between loads, unless the store's companion gives one.
    Ask();
    EXPECT_EQ(Dose()->text(), "45");
    m_form->findChild<QPushButton*>("Button2")->click();
    m_request.UseModFile = true;
    m_request.ModFilePath = "/tmp/x.mod";
    m_request.Companion = ParseModFile("Patient Name\tNULL\r\nPatient ID\tNULL\r\nPlan Name\tNULL\r\n"
                                       "Plan ID\tNULL\r\nPrescribed dose [cGy]\t6000\r\n");
    Ask();
    EXPECT_TRUE(m_form->UseModFile);
    EXPECT_EQ(Dose()->text(), "6000");
    EXPECT_EQ(Unit(), "cGy");
    m_form->findChild<QPushButton*>("Button2")->click();
    EXPECT_FALSE(m_form->UseModFile);
}

TEST_F(XiODialogTest, CloseBoxIsCancelAndFieldsKeepTheirBytes) {
    // Windows-1252, as the planning system's computer wrote them: "Müller", "Plan Š".
    const std::string name = "M\xFCller", plan = "Plan \x8A";
    m_form->Ask(m_request, name, "P-7", plan, plan, {});
    EXPECT_TRUE(m_form->windowFlags() & Qt::WindowCloseButtonHint);
    ClickCloseBox(m_form);
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(m_cancelled, 1);
    EXPECT_TRUE(m_main.isEnabled());

    m_form->Ask(m_request, name, "P-7", plan, plan, {});
    Dose()->setText("60");
    m_form->Edit4->setText(m_form->Edit4->text() + " 2");
    m_form->Button1->click();
    ASSERT_TRUE(m_answer);
    EXPECT_EQ(m_answer->PatientName, name);  // unchanged: the very bytes
    EXPECT_EQ(m_answer->PlanName, plan);
    EXPECT_EQ(m_answer->PlanID, plan + " 2");  // edited: still Windows-1252
}
