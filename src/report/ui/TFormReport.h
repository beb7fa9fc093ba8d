// The report preview window "Report": the page at full size or reduced, and its commands.
#pragma once

#include <QImage>
#include <QWidget>

class QFileDialog;
class QLabel;
class QPushButton;
class QScrollArea;
class ReportHost;
class TFormComment;
class TFormRepoList;

class TFormReport : public QWidget {
    Q_OBJECT
public:
    TFormReport(ReportHost* host, QWidget* parent);

    QScrollArea* ScrollBox1;
    QLabel* Image1;          // the page picture
    QPushButton* BitBtn1;    // "Zoom in"
    QPushButton* BitBtn2;    // "Zoom out"
    QPushButton* BitBtn6;    // "List"
    QPushButton* BitBtn5;    // "Comment"
    QPushButton* BitBtn3;    // "Save as bitmap"
    QPushButton* BitBtn4;    // "Print"
    QPushButton* BitBtn7;    // "Close"
    QFileDialog* SaveDialog1;

    /// The dialogs this window opens; set once they exist.
    void SetDialogs(TFormComment* comment, TFormRepoList* rows);

    /// Shows a freshly drawn 840 x 1188 page at the picture's current size.
    void ShowPage(const QImage& page);
    /// The last page drawn, at full size.
    const QImage& Page() const { return m_page; }

    void BitBtn1Click();
    void BitBtn2Click();
    /// Saves the page as BMP or JPEG; the path written, "" when none.
    QString BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn7Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ReportHost* m_host;
    TFormComment* m_comment = nullptr;
    TFormRepoList* m_rows = nullptr;
    QImage m_page;
};
