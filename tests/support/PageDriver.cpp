#include "support/PageDriver.h"

#include "store/RouteDef.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

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

// The "name=value;..." list with each value as get gives it.
template<typename Get> QString valuesIn(const QString &list, Get get)
{
    QStringList out;
    for (const QString &a : list.split(u';', Qt::SkipEmptyParts))
        out << a.section(u'=', 0, 0) + u'=' + get(a.section(u'=', 0, 0));
    return out.join(u';');
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

void PageDriver::on(const QString &form, const std::function<void()> &step)
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
    return b ? QString::number(b->isCheckable() ? b->isChecked() : b->isVisible()) : QString();
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

QList<Case> table(const QString &name)
{
    QList<Case> rows;
    for (const QString &line : QString::fromUtf8(golden(name)).split(u'\n')) {
        if (line.startsWith(u"name:"))
            rows.emplaceBack();
        if (!rows.isEmpty() && line.contains(u':') && !line.startsWith(u'#'))
            rows.back()[line.section(u':', 0, 0)] = line.section(u':', 1).mid(1).replace(u"\\r"_s, u"\r"_s);
    }
    return rows;
}

void PageDriver::prepare(const Case &row)
{
    store().routeCount = store().editIndex = qint16(row[u"edit"_s].toInt());
    given(row[u"given"_s]);
    if (row.contains(u"browse"_s))
        dialogs->folders = {row[u"browse"_s]};
    QString shows = row[u"dialog shows"_s];
    for (const QString &steps : row[u"dialog steps"_s].split(u" | "_s, Qt::SkipEmptyParts))
        on(row[u"dialog"_s], [this, steps, shows = std::exchange(shows, {})] {
            EXPECT_EQ(controls(shows).toStdString(), shows.toStdString());
            act(steps);
        });
}

void PageDriver::play(const Case &row)
{
    const auto value = [&](const char *key) { return row[QLatin1String(key)].replace(u"{folder}"_s, s.tmp.path()); };
    EXPECT_EQ(controls(value("opens")).toStdString(), value("opens").toStdString());
    act(value("steps"));
    EXPECT_EQ(controls(value("shows")).toStdString(), value("shows").toStdString());
    act(value("ends"));
    if (row.contains(u"problems"_s)) {
        QString text;
        for (const QString &p : value("problems").split(u" | "_s, Qt::SkipEmptyParts))
            text += u"\r\n%1. "_s.arg(text.count(u"\r\n") + 1) + p;
        if (!text.isEmpty())
            expectMessage(text, kProblemsTitle, MsgIcon::Information, MsgButtons::Ok);
        expectNoMoreMessages();
    }
    EXPECT_EQ(record(value("stored")).toStdString(), value("stored").toStdString());
    for (const auto &[key, now] :
         {std::pair("open", int(showing())), {"saved", int(routesSaved())}, {"routes", store().routeCount}})
        EXPECT_TRUE(!row.contains(QLatin1String(key)) || QString::number(now) == value(key)) << key << " is " << now;
}

QString PageDriver::controls(const QString &list) const
{
    return valuesIn(list, [this](const QString &name) { return text(name); });
}

QString PageDriver::record(const QString &list) const
{
    return valuesIn(list, [this](const QString &name) { return field(name); });
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
