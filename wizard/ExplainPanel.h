#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace molvik {

class Form;

// Where a page keeps its explanation panel, in twips.
struct ExplainLayout
{
    int clientHeight;
    int textLeft, textTop, textWidth, textHeight;
    int explainLeft, explainTop;
    bool clickShrinks;  // a click on the box gives the page back its height
    bool limitToScreen; // the grown page is never taller than the screen

    static const ExplainLayout RuleName, MoveVia, FileCopy, FileFTP, FileEmail, FileKXSecure;
};

// The "Explain" button and the Text2 box below the page's visible area:
// Explain grows the page by the box's height plus 250 twips and shows the
// page's explanation text; Explain again, or a click on the box, shrinks it.
class ExplainPanel : public QObject
{
    Q_OBJECT

public:
    ExplainPanel(Form &page, const ExplainLayout &layout);

    void Explain_Click();
    void Text2_Click();

    QPushButton *Explain = nullptr;
    QPlainTextEdit *Text2 = nullptr;

    // The screen height in twips; replaceable so a test can pick a screen.
    std::function<int()> screenHeight;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Focusable only while the page has grown to show it.
    void showBox(bool open);

    Form &m_page;
    ExplainLayout m_layout;
    qint32 m_savedHeight = 0;
    Qt::FocusPolicy m_openFocus = Qt::StrongFocus;
};

} // namespace molvik
