#include "dialogs/clsDialog.h"
#include "forms/RealSystemDialogs.h"
#include "support/FormsTestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrinterInfo>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace molvik {

// Reaches the wrapper's private dialogs and records, as a friend.
class ClsDialogTest : public ::testing::Test
{
protected:
    using Files = clsDialog::FileDialogResult;

    void useRealDialogs()
    {
        real = std::make_unique<FormContext>(f.store(), FormServices{f.modal, f.messages, std::make_shared<RealSystemDialogs>()});
        dialog = std::make_unique<clsDialog>(*real);
        owner.setGeometry(40, 30, 700, 500);
        owner.show();
    }

    void TearDown() override
    {
        owner.close();
        test::FormsFixture::settle();
        for (QWidget *w : QApplication::topLevelWidgets())
            EXPECT_EQ(w, &owner) << "left behind: " << w->metaObject()->className();
    }

    // Acts on the modal dialog of type T once it is up, then accepts it; gives
    // up after a bounded number of polls.
    template<typename T> void whenShown(std::function<void(T &)> act, int polls = 500)
    {
        QTimer::singleShot(0, &owner, [this, act, polls] {
            if (auto *d = qobject_cast<T *>(QApplication::activeModalWidget())) {
                EXPECT_LE((d->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
                // The first dialog of each kind, for a person to look at.
                const QString png = qEnvironmentVariable("MOLVIK_SCREENSHOTS") + u'/' + QLatin1String(T::staticMetaObject.className());
                if (qEnvironmentVariableIsSet("MOLVIK_SCREENSHOTS") && !QFile::exists(png + u".png"))
                    d->grab().save(png + u".png");
                act(*d);
                static_cast<QDialog *>(d)->accept();
            } else if (polls > 0) {
                whenShown(act, polls - 1);
            } else {
                ADD_FAILURE() << "no dialog came up";
            }
        });
    }

    Files open(QWidget *on = nullptr) { return dialog->ShowOpenDialog(on); }
    Files save(QWidget *on) { return dialog->ShowSaveDialog(on); }
    clsDialog::ColorDialogResult color() { return dialog->ShowColorDialog(&owner); }
    clsDialog::FontDialogResult font(const QString &face) { return dialog->ShowFontDialog(&owner, face); }
    OpenFileName &fileRecord() { return dialog->m_openFileName; }
    QByteArray customColors() const { return dialog->m_chooseColor.customColors; }
    qintptr hook() const { return dialog->m_hook; }
    void center(QWidget *on, int code, QWidget &window)
    {
        dialog->m_owner = on;
        dialog->m_hook = f.dialogs->setActivationHook({});
        on ? dialog->CenterOnOwner(code, &window, 0) : dialog->CenterOnScreen(code, &window, 0);
    }

    test::FormsFixture f;
    QWidget owner;
    std::unique_ptr<FormContext> real;
    std::unique_ptr<clsDialog> dialog = std::make_unique<clsDialog>(*f.context);
};

namespace {

QString text(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.first(bytes.contains('\0') ? bytes.indexOf('\0') : bytes.size()));
}

} // namespace

TEST_F(ClsDialogTest, OpenReadsWhatTheDialogWrote)
{
    const struct
    {
        const char *name;
        QStringList chosen;
        QString directory;
        QStringList names;
    } rows[] = {
        {"one file", {u"/in/a.txt"_qs}, u"/in/"_qs, {u"a.txt"_qs}},
        {"three files in one folder", {u"/in/a"_qs, u"/in/b.pdf"_qs, u"/in/c"_qs}, u"/in"_qs, {u"a"_qs, u"b.pdf"_qs, u"c"_qs}},
        {"a name beyond the code page", {u"/in/ж€.txt"_qs}, u"/in/"_qs, {u"?€.txt"_qs}},
        {"cancelled", {}, {}, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        f.dialogs->files = {row.chosen};
        const Files r = open();
        EXPECT_EQ(r.cancelled, row.chosen.isEmpty());
        EXPECT_EQ(r.directory, row.directory);
        EXPECT_EQ(r.fileNames, row.names);
        EXPECT_EQ(r.count, row.names.size());
    }
}

TEST_F(ClsDialogTest, AtMostTwoHundredFilesAndShowFileSwallowsMore)
{
    QStringList many;
    for (int i = 1; i <= 201; ++i)
        many << QStringLiteral("/d/%1").arg(i);
    f.dialogs->files = {many.mid(0, 200), many};
    EXPECT_EQ(open().count, 200);
    EXPECT_THROW(open(), std::out_of_range);
    f.dialogs->files = {many};
    EXPECT_EQ(dialog->ShowFile(nullptr), QString());
}

TEST_F(ClsDialogTest, EachCallStartsFromThePreviousOne)
{
    f.dialogs->files = {{u"/in/first.txt"_qs}, {u"/in/a"_qs, u"/in/b"_qs}, {u"/out/x"_qs}};
    open();
    open();
    EXPECT_EQ(text(f.dialogs->fileSeen.file), u"/in/first.txt"_qs);
    save(nullptr);
    EXPECT_EQ(text(f.dialogs->fileSeen.file).trimmed(), QString()) << "save starts without a name";

    f.dialogs->colors = {0x123456, std::nullopt, 0x00FF00};
    EXPECT_EQ(color().colour, 0x123456u);
    EXPECT_EQ(f.dialogs->colorSeen.customColors, QByteArray(64, char(254)));
    const auto cancelled = color();
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.colour, 0u);
    EXPECT_EQ(f.dialogs->colorSeen.result, 0x123456u);
    EXPECT_EQ(f.dialogs->liveHooks, 0);
}

TEST_F(ClsDialogTest, FontResultFollowsTheChosenFont)
{
    const struct
    {
        const char *name;
        int weight;
        double points;
        bool bold;
        int size;
    } rows[] = {
        {"regular", 400, 10.5, false, 10},
        {"just above regular", 401, 11.5, true, 12},
        {"bold", 700, 9, true, 9},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QFont chosen(u"DejaVu Serif"_qs);
        chosen.setWeight(QFont::Weight(row.weight));
        chosen.setPointSizeF(row.points);
        chosen.setItalic(true);
        f.dialogs->fonts = {chosen};
        const auto r = font(u"Tahoma"_qs);
        EXPECT_EQ(text(f.dialogs->fontSeen.logFont.faceName), u"Tahoma"_qs);
        EXPECT_EQ(r.faceName, u"DejaVu Serif"_qs);
        EXPECT_EQ(r.bold, row.bold);
        EXPECT_EQ(r.size, row.size);
        EXPECT_TRUE(r.italic && !r.underline && !r.strikeout);
    }
    // The next dialog starts at the size chosen last.
    font(QString());
    EXPECT_EQ(f.dialogs->fontSeen.pointSizeTenths, 90);
}

TEST_F(ClsDialogTest, ShowFileOffersThePatternFromTheComponentFolder)
{
    const struct
    {
        const char *name;
        QString pattern;
        QByteArray filter;
    } rows[] = {
        {"no pattern", {}, QByteArrayLiteral("All Files (*.*)\0*.*\0")},
        {"a pattern", u"Text (*.txt)|*.txt"_qs, "Text (*.txt)|*.txt"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        dialog->setDlgFilePattern(row.pattern);
        f.dialogs->files = {{u"/in/a.txt"_qs}, {}};
        EXPECT_EQ(dialog->ShowFile(nullptr), u"/in/a.txt"_qs);
        EXPECT_EQ(f.dialogs->fileSeen.filter, row.filter);
        EXPECT_EQ(text(f.dialogs->fileSeen.initialDir), f.s.tmp.path() + u'/');
        EXPECT_EQ(dialog->ShowFile(nullptr), QString());
    }
}

TEST_F(ClsDialogTest, CentringMovesTheActivatedWindowOnce)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QWidget on;
    on.setGeometry(100, 100, 401, 301);
    const struct
    {
        const char *name;
        QWidget *owner;
        int code;
        QPoint expected;
    } rows[] = {
        {"on the owner, halves to even", &on, 5, {200, 200}},
        {"on the screen", nullptr, 5, {screen.width() / 2 - 100, screen.height() / 2 - 50}},
        {"not an activation", &on, 3, {7, 7}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QWidget window;
        window.setGeometry(7, 7, 200, 100);
        center(row.owner, row.code, window);
        EXPECT_EQ(window.pos(), row.expected);
        EXPECT_EQ(f.dialogs->liveHooks, row.code == 5 ? 0 : 1);
        EXPECT_EQ(hook() == 0, row.code == 5);
        f.dialogs->liveHooks = 0;
    }
}

TEST_F(ClsDialogTest, QtFileDialogsFillTheRecord)
{
    useRealDialogs();
    for (const char *name : {"a.txt", "b.txt", "c.log"})
        f.s.write(QString::fromLatin1(name), "x");
    dialog->setDlgFilePattern(QString::fromLatin1(QByteArrayLiteral("All Files (*.*)\0*.*\0Text (*.txt)\0*.txt\0")));
    whenShown<QFileDialog>([](QFileDialog &d) {
        EXPECT_EQ(d.nameFilters(), QStringList({u"All Files (*)"_qs, u"Text (*.txt)"_qs}));
        d.selectFile(u"b.txt"_qs);
    });
    EXPECT_EQ(dialog->ShowFile(&owner), f.s.path(u"b.txt"_qs));

    fileRecord().flags |= DialogFlags::kAllowMultiSelect;
    whenShown<QFileDialog>([](QFileDialog &d) {
        // Typed names, not the list's selection, which fills in as the folder loads.
        d.findChild<QAbstractItemView *>(u"listView"_qs)->clearSelection();
        auto *edit = d.findChild<QLineEdit *>(u"fileNameEdit"_qs);
        const QSignalBlocker quiet(edit);
        edit->setText(u"\"a.txt\" \"c.log\""_qs);
    });
    const Files several = open(&owner);
    EXPECT_EQ(several.directory, f.s.tmp.path());
    EXPECT_EQ(several.fileNames, QStringList({u"a.txt"_qs, u"c.log"_qs}));

    whenShown<QFileDialog>([](QFileDialog &d) {
        d.selectFile(u"new"_qs);
    });
    const Files saved = save(&owner);
    EXPECT_EQ(QString(saved.directory + saved.fileNames.value(0)).toStdString(), f.s.path(u"new.txt"_qs).toStdString());
}

TEST_F(ClsDialogTest, QtColourFontAndPrintDialogs)
{
    useRealDialogs();
    whenShown<QColorDialog>([](QColorDialog &d) {
        EXPECT_EQ(QColorDialog::customColor(15), QColor(254, 254, 254));
        QColorDialog::setCustomColor(1, QColor(0, 0, 255));
        d.setCurrentColor(QColor(10, 20, 30));
    });
    EXPECT_EQ(color().colour, SystemDialogs::colorRef(10, 20, 30));
    EXPECT_EQ(customColors().mid(0, 8), QByteArray("\xFE\xFE\xFE\xFE\x00\x00\xFF\x00", 8));

    whenShown<QFontDialog>([](QFontDialog &d) {
        EXPECT_EQ(d.currentFont().pointSize(), 10);
        d.setCurrentFont(QFont(u"DejaVu Sans"_qs, 14, QFont::Bold));
    });
    const auto chosen = font(u"DejaVu Sans"_qs);
    EXPECT_FALSE(chosen.cancelled);
    EXPECT_EQ(chosen.faceName, u"DejaVu Sans"_qs);
    EXPECT_TRUE(chosen.bold);
    EXPECT_EQ(chosen.size, 14);

    // Without a printer the dialog gives up as cancelled.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        EXPECT_EQ(dialog->ShowPrinter(&owner), 0);
    }
}

} // namespace molvik
