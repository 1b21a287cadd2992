#include "support/PageDriver.h"

#include "store/RouteDef.h"

#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace molvik::test {

namespace {

template<typename W> W *find(const QWidget &form, const QString &name)
{
    W *w = form.findChild<W *>(name);
    EXPECT_NE(w, nullptr) << "no " << name.toStdString() << " on " << form.objectName().toStdString();
    return w;
}

const RouteField *routeField(const QString &element)
{
    const auto &all = routeFields();
    const auto it = std::find_if(all.begin(), all.end(), [&](const RouteField &f) { return element == QLatin1String(f.name); });
    EXPECT_TRUE(it != all.end()) << element.toStdString() << " is not an element";
    return it == all.end() ? nullptr : &*it;
}

} // namespace

void fillIn(QWidget &form, const QString &control, const QString &value)
{
    if (auto *edit = form.findChild<QLineEdit *>(control)) {
        edit->selectAll();
        edit->del();
        // QTest types ASCII only; other characters go in as an input method would.
        for (const QChar c : value) {
            if (c.unicode() < 0x80)
                QTest::keyClick(edit, c.toLatin1());
            else
                edit->insert(QString(c));
        }
    } else if (auto *text = form.findChild<QPlainTextEdit *>(control)) {
        // A CR is the Enter key.
        text->clear();
        QTest::keyClicks(text, value);
    } else if (auto *b = find<QAbstractButton>(form, control)) {
        if (b->isChecked() != (value == u"1"))
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
}

void pressIn(QWidget &form, const QString &button)
{
    if (button == u"Escape")
        QTest::keyClick(&form, Qt::Key_Escape);
    else if (auto *b = find<QAbstractButton>(form, button))
        QTest::mouseClick(b, Qt::LeftButton);
}

QWidget *PageDriver::form() const
{
    EXPECT_FALSE(m_current.isNull()) << "no current form";
    return m_current;
}

void PageDriver::on(const QString &form, std::function<void()> step)
{
    modal->expect(form, [this, step](Form &shown) {
        QPointer<Form> previous = m_current;
        m_current = &shown;
        step();
        m_current = previous;
    });
}

void PageDriver::fill(const QString &control, const QString &value)
{
    if (QWidget *f = form())
        fillIn(*f, control, value);
}

void PageDriver::press(const QString &button)
{
    if (QWidget *f = form())
        pressIn(*f, button);
}

QString PageDriver::text(const QString &control) const
{
    QWidget *f = form();
    if (!f)
        return {};
    if (auto *edit = f->findChild<QLineEdit *>(control))
        return edit->text();
    if (auto *text = f->findChild<QPlainTextEdit *>(control))
        return text->toPlainText();
    if (auto *check = f->findChild<QCheckBox *>(control))
        return QString::number(checkValue(check));
    auto *b = find<QAbstractButton>(*f, control);
    return b ? QString::number(b->isChecked()) : QString();
}

bool PageDriver::enabled(const QString &control) const
{
    QWidget *f = form();
    QWidget *w = f ? find<QWidget>(*f, control) : nullptr;
    return w && w->isEnabled();
}

QString PageDriver::field(const QString &element) const
{
    const RouteField *f = routeField(element);
    const RouteDef &w = s.store->workingRoute;
    if (!f)
        return {};
    if (f->kind == RouteField::Kind::Text)
        return w.*f->text;
    if (f->kind == RouteField::Kind::Int32)
        return QString::number(w.*f->int32);
    const qint16 v = w.*f->int16;
    if (f->kind == RouteField::Kind::YesNo && (v == Yes || v == No))
        return v == Yes ? QStringLiteral("True") : QStringLiteral("False");
    return QString::number(v);
}

void PageDriver::setField(const QString &element, const QString &value)
{
    const RouteField *f = routeField(element);
    RouteDef &w = s.store->workingRoute;
    if (!f)
        return;
    if (f->kind == RouteField::Kind::Text)
        w.*f->text = value;
    else if (f->kind == RouteField::Kind::Int32)
        w.*f->int32 = value.toInt();
    else
        w.*f->int16 = value == u"True" ? Yes : value == u"False" ? No : qint16(value.toInt());
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
    const QStringList names = elements.split(u' ', Qt::SkipEmptyParts);
    const QStringList v = values.split(u'|');
    ASSERT_EQ(names.size(), v.size()) << values.toStdString();
    for (int i = 0; i < names.size(); ++i)
        setField(names[i], v[i]);
}

void PageDriver::expectMessage(const QString &text, const QString &title, MsgIcon icon, MsgButtons buttons)
{
    ASSERT_GT(messages->shown.size(), m_checkedMessages) << "no message box: " << text.toStdString();
    const MessageRequest &m = messages->shown[m_checkedMessages++];
    EXPECT_EQ(m.text.toStdString(), text.toStdString());
    EXPECT_EQ(m.title.toStdString(), title.toStdString());
    EXPECT_EQ(m.icon, icon);
    EXPECT_EQ(m.buttons, buttons);
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

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace molvik::test
