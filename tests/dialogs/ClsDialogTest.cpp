#include "dialogs/clsDialog.h"
#include "forms/RealSystemDialogs.h"
#include "support/FormsTestSupport.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QFile>
#include <QLibrary>
#include <QPrinterInfo>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

namespace molvik {

// Reaches the wrapper's private dialogs and records, as a friend.
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
            // Placed by the wrapper's hook: Qt's own placement would clear the moved flag.
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

    clsDialog::FileDialogResult open(QWidget *on = nullptr) { return dialog->ShowOpenDialog(on); }
    clsDialog::FileDialogResult save() { return dialog->ShowSaveDialog(nullptr); }
    clsDialog::ColorDialogResult color() { return dialog->ShowColorDialog(&owner); }
    clsDialog::FontDialogResult font(const QString &face) { return dialog->ShowFontDialog(&owner, face); }
    const ChooseColor &colorRecord() const { return dialog->m_chooseColor; }

    test::FormsFixture f;
    QWidget owner;
    std::unique_ptr<FormContext> real;
    std::unique_ptr<clsDialog> dialog = std::make_unique<clsDialog>(*f.context);
};

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
    EXPECT_TRUE(f.dialogs->fileSeen.file.startsWith(QByteArrayLiteral("/in/first.txt\0")));
    save();
    EXPECT_EQ(f.dialogs->fileSeen.file, QByteArray(2047, ' ') + '\0') << "save starts without a name";

    f.dialogs->colors = {0x123456, 0};
    EXPECT_EQ(color().colour, 0x123456u);
    EXPECT_EQ(colorRecord().customColors, QByteArray(64, char(254)));
    EXPECT_EQ(color().colour, 0u) << "cancelled";
    EXPECT_EQ(colorRecord().result, 0x123456u) << "the next dialog starts from the last colour";
    EXPECT_EQ(f.dialogs->liveHooks, 0);
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
    real = std::make_unique<FormContext>(f.store(), FormServices{f.modal, f.messages, std::make_shared<RealSystemDialogs>()});
    dialog = std::make_unique<clsDialog>(*real);
    owner.setGeometry(40, 30, 700, 500);
    owner.show();
    f.s.write(u"b.txt"_qs, "x");
    // Each pattern and the filters it offers; the last pattern's last four characters give the default extension.
    const std::pair<QByteArray, QString> rows[] = {
        {{}, u"All Files (*)"_qs},
        {QByteArrayLiteral("All Files (*.*)\0*.*\0Text (*.txt)\0*.txt\0"), u"All Files (*)|Text (*.txt)"_qs}};
    for (const auto &[pattern, filters] : rows) {
        dialog->setDlgFilePattern(QString::fromLatin1(pattern));
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
    EXPECT_EQ(color().colour, SystemDialogs::colorRef(10, 20, 30));
    EXPECT_EQ(colorRecord().customColors.first(8), QByteArray("\xFE\xFE\xFE\xFE\x00\x00\xFF\x00", 8));

    whenShown<QFontDialog>([](QFontDialog &d) {
        EXPECT_EQ(d.currentFont().pointSize(), 10);
        EXPECT_EQ(d.currentFont().style(), QFont::StyleNormal) << "opens on the regular face";
        d.setCurrentFont(QFont(u"DejaVu Sans"_qs, 14, QFont::Bold));
    });
    const auto chosen = font(u"DejaVu Sans"_qs);
    EXPECT_TRUE(!chosen.cancelled && chosen.bold && chosen.size == 14 && chosen.faceName == u"DejaVu Sans"_qs);

    // Without a printer the dialog gives up as cancelled; the module that
    // holds it is loaded from beside the code, on this first use.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        EXPECT_EQ(dialog->ShowPrinter(&owner), 0);
#ifdef Q_OS_LINUX
        QFile maps(u"/proc/self/maps"_qs);
        EXPECT_TRUE(maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libmolvik-print")) << "no print module";
#endif
        EXPECT_NE(QLibrary(QCoreApplication::applicationDirPath() + u"/molvik-print"_qs).resolve("molvikPrintDialog"), nullptr);
    }
}

} // namespace molvik
