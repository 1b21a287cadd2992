#include "dialogs/clsDialog.h"
#include "forms/RealSystemDialogs.h"
#include "support/FormsTestSupport.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrinterInfo>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

namespace molvik {

namespace {

// Reaches the dialogs no caller of the library needs.
struct AllDialogs : clsDialog
{
    using clsDialog::clsDialog;
    using clsDialog::ShowColorDialog;
    using clsDialog::ShowFontDialog;
    using clsDialog::ShowOpenDialog;
    using clsDialog::ShowSaveDialog;
};

class ClsDialogTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        test::FormsFixture::settle();
        EXPECT_EQ(QApplication::topLevelWidgets(), QWidgetList{&owner}) << "a window was left behind";
    }

    // Checks that the modal dialog T came up centred on its owner or the
    // screen, acts on it and accepts it; polls a bounded number of times.
    template<typename T> void whenShown(std::function<void(T &)> act, int polls = 500)
    {
        QTimer::singleShot(0, &owner, [this, act, polls] {
            auto *d = qobject_cast<T *>(QApplication::activeModalWidget());
            if (!d)
                return polls > 0 ? whenShown(act, polls - 1) : void(ADD_FAILURE() << "no dialog came up");
            const QRect on = d->parentWidget() ? owner.frameGeometry() : d->screen()->geometry();
            // Placed by the wrapper: Qt's own placement would clear the moved flag.
            EXPECT_TRUE(d->testAttribute(Qt::WA_Moved));
            EXPECT_LE((d->frameGeometry().center() - on.center()).manhattanLength(), 2);
            // The first dialog of each kind, for a person to look at.
            const QString png =
                qEnvironmentVariable("MOLVIK_SCREENSHOTS") + u'/' + QLatin1String(T::staticMetaObject.className());
            if (qEnvironmentVariableIsSet("MOLVIK_SCREENSHOTS") && !QFile::exists(png + u".png"))
                d->grab().save(png + u".png");
            act(*d);
            static_cast<QDialog *>(d)->accept();
        });
    }

    auto open() { return dialog->ShowOpenDialog(nullptr); }
    auto save() { return dialog->ShowSaveDialog(nullptr); }
    auto color() { return dialog->ShowColorDialog(&owner); }
    auto font(const QString &face) { return dialog->ShowFontDialog(&owner, face); }
    void useRealDialogs()
    {
        real = std::make_unique<FormContext>(f.store(), FormServices{f.modal, f.messages, std::make_shared<RealSystemDialogs>()});
        dialog = std::make_unique<AllDialogs>(*real);
        owner.setGeometry(40, 30, 700, 500);
        owner.show();
    }

    test::FormsFixture f;
    QWidget owner;
    std::unique_ptr<FormContext> real;
    std::unique_ptr<AllDialogs> dialog = std::make_unique<AllDialogs>(*f.context);
};

} // namespace

TEST_F(ClsDialogTest, OpenReadsWhatTheDialogWrote)
{
    const struct
    {
        const char *name;
        QStringList chosen, names;
        QString directory;
    } rows[] = {
        {"one file", {u"/in/a.txt"_qs}, {u"a.txt"_qs}, u"/in/"_qs},
        {"three files in one folder", {u"/in/a"_qs, u"/in/b.pdf"_qs, u"/in/c"_qs}, {u"a"_qs, u"b.pdf"_qs, u"c"_qs}, u"/in"_qs},
        {"a name beyond the code page", {u"/in/ж€.txt"_qs}, {u"?€.txt"_qs}, u"/in/"_qs},
        {"cancelled", {}, {}, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        f.dialogs->files = {row.chosen};
        const auto r = open();
        EXPECT_EQ(r.cancelled, row.chosen.isEmpty());
        EXPECT_EQ(r.directory, row.directory);
        EXPECT_EQ(r.fileNames, row.names);
        EXPECT_EQ(r.count, row.names.size());
    }
    QStringList many;
    for (int i = 1; i <= 201; ++i)
        many << QStringLiteral("/d/%1").arg(i);
    f.dialogs->files = {many, many};
    EXPECT_THROW(open(), std::out_of_range);
    EXPECT_EQ(dialog->ShowFile(nullptr), QString()) << "ShowFile swallows the error";
}

TEST_F(ClsDialogTest, EachCallStartsFromThePreviousOne)
{
    f.dialogs->files = {{u"/in/first.txt"_qs}, {u"/in/a"_qs, u"/in/b"_qs}, {u"/out/x"_qs}};
    open();
    open();
    EXPECT_EQ(f.dialogs->fileSeen.initial, u"/in/first.txt"_qs);
    save();
    EXPECT_EQ(f.dialogs->fileSeen.initial, QString()) << "save starts without a name";

    f.dialogs->colors = {QColor(0x56, 0x34, 0x12), QColor()};
    EXPECT_EQ(color().colour, 0x123456u);
    EXPECT_EQ(f.dialogs->customSeen, QList<QColor>(16, QColor(254, 254, 254)));
    EXPECT_EQ(color().colour, 0u) << "cancelled";
    EXPECT_EQ(f.dialogs->colorSeen, QColor(0x56, 0x34, 0x12)) << "the next dialog starts from the last colour";
}

TEST_F(ClsDialogTest, FontIsBoldAboveRegularWeightInWholePoints)
{
    const struct
    {
        const char *name;
        int weight;
        bool bold;
    } rows[] = {{"regular", 400, false}, {"just above regular", 401, true}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QFont chosen(u"DejaVu Serif"_qs, -1, row.weight);
        chosen.setPointSizeF(11.5);
        f.dialogs->fonts = {chosen};
        const auto r = font(u"Tahoma"_qs);
        EXPECT_TRUE(r.faceName == u"DejaVu Serif"_qs && r.bold == row.bold && r.size == 12);
    }
}

TEST_F(ClsDialogTest, QtDialogsFillTheRecords)
{
    useRealDialogs();
    f.s.write(u"b.txt"_qs, "x");
    // Each pattern and the filters it offers; the last pattern's last four characters give the default extension.
    const std::pair<QByteArray, QString> rows[] = {
        {{}, u"All Files (*)"_qs},
        {QByteArrayLiteral("All Files (*.*)\0*.*\0Text (*.txt)\0*.txt\0"), u"All Files (*)|Text (*.txt)"_qs}};
    for (const auto &[pattern, expected] : rows) {
        dialog->setDlgFilePattern(QString::fromLatin1(pattern));
        const QString &filters = expected; // clang 14 cannot capture a structured binding
        whenShown<QFileDialog>([this, &filters](QFileDialog &d) {
            EXPECT_EQ(d.nameFilters().join(u'|'), filters);
            EXPECT_EQ(d.directory(), QDir(f.s.tmp.path()));
            d.selectFile(u"b.txt"_qs);
        });
        EXPECT_EQ(dialog->ShowFile(&owner), f.s.path(u"b.txt"_qs));
    }
    whenShown<QFileDialog>([](QFileDialog &d) { d.selectFile(u"new"_qs); });
    const auto saved = save();
    EXPECT_EQ(QString(saved.directory + saved.fileNames.value(0)), f.s.path(u"new.txt"_qs)) << "with the default extension";

    whenShown<QColorDialog>([](QColorDialog &d) {
        EXPECT_EQ(QColorDialog::customColor(15), QColor(254, 254, 254));
        QColorDialog::setCustomColor(1, QColor(0, 0, 255));
        d.setCurrentColor(QColor(10, 20, 30));
    });
    EXPECT_EQ(color().colour, 0x1E140Au);
    whenShown<QColorDialog>([](QColorDialog &d) {
        EXPECT_EQ(QColorDialog::customColor(0), QColor(254, 254, 254));
        EXPECT_EQ(QColorDialog::customColor(1), QColor(0, 0, 255)) << "the instance keeps the colours defined";
        EXPECT_EQ(d.currentColor(), QColor(10, 20, 30));
    });
    color();

    whenShown<QFontDialog>([](QFontDialog &d) {
        EXPECT_EQ(d.currentFont().pointSize(), 10);
        EXPECT_EQ(d.currentFont().style(), QFont::StyleNormal) << "opens on the regular face";
        d.setCurrentFont(QFont(u"DejaVu Sans"_qs, 14, QFont::Bold));
    });
    const auto chosen = font(u"DejaVu Sans"_qs);
    EXPECT_TRUE(!chosen.cancelled && chosen.bold && chosen.size == 14 && chosen.faceName == u"DejaVu Sans"_qs);

    // Without a printer the dialog gives up as cancelled.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        EXPECT_EQ(dialog->ShowPrinter(&owner), 0);
    }
}

TEST_F(ClsDialogTest, FolderBrowserOpensOnItsOwner)
{
    useRealDialogs();
    whenShown<QFileDialog>([this](QFileDialog &d) { d.setDirectory(f.s.tmp.path()); });
    EXPECT_EQ(dialog->ShowDirectory(&owner), QDir::toNativeSeparators(f.s.tmp.path()));
}

} // namespace molvik
