// The report comment "Comment": three lines, their colour and the comment templates.
#pragma once

#include "dvh/Records.h"
#include "report/CommentTemplates.h"

#include <QWidget>

#include <vector>

class QColorDialog;
class QGroupBox;
class QKeyEvent;
class QListWidget;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;
class ReportHost;

class TFormComment : public QWidget {
    Q_OBJECT
public:
    TFormComment(ReportHost* host, QWidget* reportWindow, QWidget* parent);

    QPlainTextEdit* Memo1;     // the comment, at most three lines
    QPushButton* Button3;      // "FontColor"
    QPushButton* Button1;      // "OK"
    QGroupBox* GroupBox1;      // "Template"
    QListWidget* ListBox1;     // one item per template: its first line
    QPushButton* Button5;      // "Add"
    QPushButton* Button4;      // "Replace"
    QMenu* PopupMenu1;
    QAction* Savethiscommenttotemplate1;  // "Add template"
    QColorDialog* ColorDialog1;

    std::vector<ComClass> ComTemplate;
    /// A template was added or deleted since the dialog was last shown.
    bool TemplatesModified = false;
    /// Colour of the comment lines on the page (0 black).
    TColor CommentFontColor = 0;

    /// A newly drawn plan starts without comment: empties the memo, black again.
    void ClearComment();

    void FormShow();
    void FormClose();
    void Memo1Change();
    void Button1Click();
    void Button3Click();
    void Button5Click();
    void Button4Click();
    void Savethiscommenttotemplate1Click();
    /// Ctrl+Delete on a selected template asks whether to delete it; true when the key was taken.
    bool ListBox1KeyDown(QKeyEvent* key);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::string TemplatePath() const;
    void SetMemoColor(TColor color);
    void AppendMemoLine(const std::string& line);

    ReportHost* m_host;
    QWidget* m_reportWindow;
    // The memo's last text of at most three lines and its cursor, put back when an edit
    // would make a fourth line.
    QString m_acceptedText;
    int m_acceptedCursor = 0;
};
