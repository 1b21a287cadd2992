#include "wizard/ExplainPanel.h"

#include "forms/Form.h"
#include "forms/FormContext.h"
#include "forms/Twips.h"
#include "store/Reg.h"
#include "store/RouteStore.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace molvik {

const ExplainLayout ExplainLayout::RuleName{1395, 120, 1440, 4575, 2415, 120, 960, true, false};
const ExplainLayout ExplainLayout::MoveVia{1920, 120, 1920, 5170, 2415, 4080, 1320, true, false};
const ExplainLayout ExplainLayout::FileCopy{1440, 120, 1440, 5050, 1690, 120, 960, true, false};
const ExplainLayout ExplainLayout::FileFTP{3630, 120, 3600, 6855, 1815, 120, 3120, true, false};
const ExplainLayout ExplainLayout::FileEmail{6720, 240, 6720, 6255, 1695, 120, 6240, true, true};
const ExplainLayout ExplainLayout::FileKXSecure{1410, 120, 1440, 8535, 2535, 120, 960, false, false};

ExplainPanel::ExplainPanel(Form &page, const ExplainLayout &layout)
    : QObject(&page), screenHeight(&Twips::screenHeight), m_page(page), m_layout(layout)
{
    Explain = new QPushButton(QStringLiteral("Explain"), &page);
    Explain->setObjectName(QStringLiteral("Explain"));
    Explain->setAutoDefault(false);
    Twips::place(Explain, layout.explainLeft, layout.explainTop, 1215, 375);
    connect(Explain, &QPushButton::clicked, this, &ExplainPanel::Explain_Click);

    Text2 = new QPlainTextEdit(&page);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setAccessibleName(QStringLiteral("Explanation"));
    Text2->setReadOnly(true);
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Twips::place(Text2, layout.textLeft, layout.textTop, layout.textWidth, layout.textHeight);
    Text2->viewport()->installEventFilter(this);
    m_openFocus = Text2->focusPolicy();
    showBox(false);
}

void ExplainPanel::showBox(bool open)
{
    // Below the visible area the box must take no keys: nothing would show
    // where they went.
    Text2->setFocusPolicy(open ? m_openFocus : Qt::NoFocus);
    if (!open && Text2->hasFocus())
        Explain->setFocus();
}

void ExplainPanel::Explain_Click()
{
    if (m_savedHeight != 0) {
        Text2_Click();
        return;
    }
    m_savedHeight = m_page.heightTwips();
    int grown = m_savedHeight + m_layout.textHeight + 250;
    if (m_layout.limitToScreen && screenHeight) {
        const int screen = screenHeight();
        if (screen > 0 && grown >= screen)
            grown = screen;
    }
    m_page.setHeightTwips(grown);
    showBox(true);
    // Read every time the page grows, so an edited file shows at the next press.
    QString text = Reg::readExplanation(m_page.store().environment(), m_page.objectName());
    Text2->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void ExplainPanel::Text2_Click()
{
    if (m_savedHeight == 0)
        return;
    m_page.setHeightTwips(m_savedHeight);
    m_savedHeight = 0;
    showBox(false);
}

bool ExplainPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (m_layout.clickShrinks && watched == Text2->viewport() && event->type() == QEvent::MouseButtonRelease)
        Text2_Click();
    return QObject::eventFilter(watched, event);
}

} // namespace molvik
