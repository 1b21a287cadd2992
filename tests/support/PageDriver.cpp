#include "support/PageDriver.h"

#include "store/RouteDef.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace molvik::test {

namespace {

QWidget *find(const QWidget *form, const QString &name)
{
    QWidget *w = form ? form->findChild<QWidget *>(name) : nullptr;
    EXPECT_NE(w, nullptr) << "no " << name.toStdString() << " on " << (form ? form->objectName().toStdString() : "no form");
    return w;
}

const RouteField &routeField(const QString &element)
{
    const auto &all = routeFields();
    const auto *it = std::find_if(all.begin(), all.end(), [&](const RouteField &f) { return element == QLatin1String(f.name); });
    EXPECT_NE(it, all.end()) << element.toStdString() << " is not an element";
    return it == all.end() ? all[0] : *it;
}

} // namespace

void fillIn(QWidget *form, const QString &control, const QString &value)
{
    QWidget *w = find(form, control);
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->selectAll();
        edit->del();
        // QTest types ASCII only; other characters go in as an input method would.
        for (const QChar c : value)
            c.unicode() < 0x80 ? QTest::keyClick(edit, c.toLatin1()) : edit->insert(QString(c));
    } else if (auto *text = qobject_cast<QPlainTextEdit *>(w)) {
        text->clear();
        QTest::keyClicks(text, value); // a CR is the Enter key
    } else if (auto *b = qobject_cast<QAbstractButton *>(w); b && b->isChecked() != (value == u"1")) {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); // on the indicator
    }
}

void pressIn(QWidget *form, const QString &button)
{
    if (QWidget *w = button == u"Escape" ? form : find(form, button))
        button == u"Escape" ? QTest::keyClick(w, Qt::Key_Escape) : QTest::mouseClick(w, Qt::LeftButton);
}

void actIn(QWidget *form, const QString &steps)
{
    for (const QString &step : steps.split(u';', Qt::SkipEmptyParts))
        step.contains(u'=') ? fillIn(form, step.section(u'=', 0, 0), step.section(u'=', 1)) : pressIn(form, step);
}

void PageDriver::on(const QString &form, std::function<void()> step)
{
    modal->expect(form, [this, step](Form &shown) {
        QPointer<Form> previous = std::exchange(m_current, &shown);
        step();
        m_current = previous;
    });
}

QString PageDriver::text(const QString &control) const
{
    QWidget *w = find(m_current, control);
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *text = qobject_cast<QPlainTextEdit *>(w))
        return text->toPlainText();
    if (auto *check = qobject_cast<QCheckBox *>(w))
        return QString::number(checkValue(check));
    auto *b = qobject_cast<QAbstractButton *>(w);
    return b ? QString::number(b->isChecked()) : QString();
}

bool PageDriver::enabled(const QString &control) const
{
    const QWidget *w = find(m_current, control);
    return w && w->isEnabled();
}

QString PageDriver::field(const QString &element) const
{
    const RouteField &f = routeField(element);
    const RouteDef &w = s.store->workingRoute;
    if (f.text)
        return w.*f.text;
    if (f.int32)
        return QString::number(w.*f.int32);
    const qint16 v = w.*f.int16;
    const bool yesNo = f.kind == RouteField::Kind::YesNo && (v == Yes || v == No);
    return yesNo ? QString::fromLatin1(v == Yes ? "True" : "False") : QString::number(v);
}

void PageDriver::setField(const QString &element, const QString &value)
{
    const RouteField &f = routeField(element);
    RouteDef &w = s.store->workingRoute;
    if (f.text)
        w.*f.text = value;
    else if (f.int32)
        w.*f.int32 = value.toInt();
    else
        w.*f.int16 = value == u"True" ? Yes : value == u"False" ? No : qint16(value.toInt());
}

QString PageDriver::fields(const QString &elements) const
{
    QStringList out;
    for (const QString &e : elements.split(u' ', Qt::SkipEmptyParts))
        out << field(e);
    return out.join(u'|');
}

void PageDriver::setFields(const QString &elements, const QString &values)
{
    const QStringList names = elements.split(u' ', Qt::SkipEmptyParts), v = values.split(u'|');
    ASSERT_EQ(names.size(), v.size()) << values.toStdString();
    for (int i = 0; i < names.size(); ++i)
        setField(names[i], v[i]);
}

void PageDriver::given(const QString &assignments)
{
    for (const QString &a : assignments.split(u';', Qt::SkipEmptyParts))
        setField(a.section(u'=', 0, 0), a.section(u'=', 1));
}

void PageDriver::expectMessage(const QString &text, const QString &title, MsgIcon icon, MsgButtons buttons)
{
    ASSERT_GT(messages->shown.size(), m_checkedMessages) << "no message box: " << text.toStdString();
    const MessageRequest &m = messages->shown[m_checkedMessages++];
    EXPECT_EQ(std::tuple(m.text.toStdString(), m.title.toStdString(), m.icon, m.buttons),
              std::tuple(text.toStdString(), title.toStdString(), icon, buttons));
}

void PageDriver::expectNoMoreMessages() const
{
    for (std::size_t i = m_checkedMessages; i < messages->shown.size(); ++i)
        ADD_FAILURE() << "message box: " << messages->shown[i].text.toStdString();
}

bool PageDriver::routesSaved() const
{
    return QFile::exists(s.path(QStringLiteral("Routes.xml")));
}

} // namespace molvik::test
