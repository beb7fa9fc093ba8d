// The report comment "Comment": three lines, their colour and the comment templates.
#include "report/ui/TFormComment.h"
#include "dialogs/QtColor.h"

#include "widgets/MessageBoxes.h"
#include "widgets/TextBytes.h"
#include "dvh/Workspace.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "planlist/ui/KeyPressHook.h"
#include "report/ui/ReportHost.h"

#include <QAction>
#include <QCloseEvent>
#include <QColorDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTextBlock>

namespace {


std::string Bytes(const QString& text) { return text.toUtf8().toStdString(); }

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

}  // namespace

TFormComment::TFormComment(ReportHost* host, QWidget* reportWindow, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_host(host), m_reportWindow(reportWindow) {
    setObjectName("FormComment");
    setWindowTitle("Comment");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(325, 280);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setGeometry(16, 12, 288, 97);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Savethiscommenttotemplate1 = PopupMenu1->addAction("Add template");
    Savethiscommenttotemplate1->setObjectName("Savethiscommenttotemplate1");
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Memo1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(Memo1->mapToGlobal(pos)); });

    Button3 = MakeButton(this, "Button3", "FontColor", {152, 220, 69, 25});
    Button1 = MakeButton(this, "Button1", "OK", {232, 220, 69, 25});
    GroupBox1 = new QGroupBox("Template", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(16, 128, 289, 81);
    ListBox1 = new QListWidget(GroupBox1);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setGeometry(5, 20, 225, 49);
    ListBox1->setUniformItemSizes(true);
    Button5 = MakeButton(GroupBox1, "Button5", "Add", {235, 21, 50, 23});
    Button4 = MakeButton(GroupBox1, "Button4", "Replace", {235, 45, 50, 23});
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName("ColorDialog1");
    ColorDialog1->setCurrentColor(Qt::black);

    connect(Memo1, &QPlainTextEdit::textChanged, this, &TFormComment::Memo1Change);
    connect(Button1, &QPushButton::clicked, this, &TFormComment::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TFormComment::Button3Click);
    connect(Button5, &QPushButton::clicked, this, &TFormComment::Button5Click);
    connect(Button4, &QPushButton::clicked, this, &TFormComment::Button4Click);
    connect(Savethiscommenttotemplate1, &QAction::triggered, this, &TFormComment::Savethiscommenttotemplate1Click);
    new KeyPressHook(ListBox1, [this](QKeyEvent* key) { return ListBox1KeyDown(key); });
}

std::string TFormComment::TemplatePath() const { return platform::ProgramFolder() + CommentTemplateFileName(); }

void TFormComment::SetMemoColor(TColor color) {
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Text, ToQColor(color));
    Memo1->setPalette(palette);
}

void TFormComment::ClearComment() {
    Memo1->clear();
    Memo1->document()->clearUndoRedoStacks();
    CommentFontColor = 0;
    ColorDialog1->setCurrentColor(Qt::black);
    SetMemoColor(0);
}

void TFormComment::FormShow() {
    TemplatesModified = false;
    platform::IniFile ini(TemplatePath());
    // Without a template file the list stays as it is.
    if (ini.Load() == platform::IniFile::LoadStatus::Ok) {
        ComTemplate = ReadCommentTemplates(ini);
        ListBox1->clear();
        for (const ComClass& t : ComTemplate) ListBox1->addItem(FromBytes(t.Line[0]));
    }
    if (m_reportWindow) m_reportWindow->setEnabled(false);
}

void TFormComment::FormClose() {
    if (TemplatesModified) {
        platform::IniFile ini(TemplatePath());
        const auto status = ini.Load();
        platform::WriteResult written{false, "Could not write file " + TemplatePath() + "."};
        // A file that exists but cannot be read is not replaced by what little is known of it.
        if (status != platform::IniFile::LoadStatus::Unreadable) {
            WriteCommentTemplates(ini, ComTemplate);
            written = ini.Save();
        }
        if (written) {
            TemplatesModified = false;
        } else {
            auto* box = new QMessageBox(QMessageBox::Critical, "Error", QString::fromStdString(written.message),
                                        QMessageBox::Ok, parentWidget());
            box->setObjectName("TemplateWriteFailure");
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->show();
        }
    }
    if (m_reportWindow) m_reportWindow->setEnabled(true);
}

void TFormComment::Memo1Change() {
    if (SplitCommentLines(Bytes(Memo1->toPlainText())).size() <= 3) {
        m_acceptedText = Memo1->toPlainText();
        m_acceptedCursor = Memo1->textCursor().position();
        return;
    }
    // A fourth line never stays: the edit that made it is taken back.
    {
        const QSignalBlocker quiet(Memo1);
        Memo1->setPlainText(m_acceptedText);
        QTextCursor cursor = Memo1->textCursor();
        cursor.setPosition(std::min<int>(m_acceptedCursor, static_cast<int>(m_acceptedText.size())));
        Memo1->setTextCursor(cursor);
    }
    Memo1->document()->clearUndoRedoStacks();
}

void TFormComment::Button1Click() {
    const auto lines = CommentLinesOf(Bytes(Memo1->toPlainText()));
    Workspace& ws = m_host->ReportWorkspace();
    for (int k = 0; k < 3; ++k) ws.CommentLine[k] = lines[k];
    m_host->DrawReportPreview();
    close();
}

void TFormComment::Button3Click() {
    ColorDialog1->setCurrentColor(ToQColor(CommentFontColor));
    if (ColorDialog1->exec() != QDialog::Accepted) return;
    const QColor chosen = ColorDialog1->currentColor();
    CommentFontColor = RgbColor(chosen.red(), chosen.green(), chosen.blue());
    SetMemoColor(CommentFontColor);
}

void TFormComment::AppendMemoLine(const std::string& line) {
    // A new line after the text, or the first line of an empty memo.
    if (Memo1->document()->isEmpty())
        Memo1->setPlainText(FromBytes(line));
    else
        Memo1->appendPlainText(FromBytes(line));
}

void TFormComment::Button5Click() {
    const int i = ListBox1->currentRow();
    if (i < 0 || i >= static_cast<int>(ComTemplate.size())) return;
    for (const std::string& line : ComTemplate[static_cast<std::size_t>(i)].Line)
        if (!line.empty()) AppendMemoLine(line);
}

void TFormComment::Button4Click() {
    const int i = ListBox1->currentRow();
    if (i < 0 || i >= static_cast<int>(ComTemplate.size())) return;
    Memo1->clear();
    const ComClass chosen = ComTemplate[static_cast<std::size_t>(i)];
    Memo1->setPlainText(FromBytes(chosen.Line[0]) + "\n" + FromBytes(chosen.Line[1]) + "\n" +
                        FromBytes(chosen.Line[2]));
}

void TFormComment::Savethiscommenttotemplate1Click() {
    const std::string text = Bytes(Memo1->toPlainText());
    if (text.empty()) return;
    ComClass added;
    added.Line = CommentLinesOf(text);
    ListBox1->addItem(FromBytes(added.Line[0]));
    ComTemplate.push_back(added);
    TemplatesModified = true;
}

bool TFormComment::ListBox1KeyDown(QKeyEvent* key) {
    if (key->key() != Qt::Key_Delete || !(key->modifiers() & Qt::ControlModifier)) return false;
    const int row = ListBox1->currentRow();
    if (row < 0) return true;
    QMessageBox* box = NewMessageBox(BoxRole::Question, QMessageBox::Question, "Delete",
                                     "Do you want to delete this template?",
                                     QMessageBox::Ok | QMessageBox::Cancel, this, "DeleteTemplateBox");
    connect(box, &QMessageBox::finished, this, [this, box, row](int) {
        if (box->clickedButton() != box->button(QMessageBox::Ok)) return;
        if (row >= ListBox1->count() || row >= static_cast<int>(ComTemplate.size())) return;
        delete ListBox1->takeItem(row);
        ComTemplate.erase(ComTemplate.begin() + row);
        TemplatesModified = true;
    });
    box->show();
    return true;
}

void TFormComment::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFormComment::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    FormClose();
}
