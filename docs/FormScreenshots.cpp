// Renders the control and every form offscreen into a folder, for the README:
// form_screenshots DIR. Each form is shown on a route of its kind.

#include "control/Molvik4.h"
#include "editor/frmEdit.h"
#include "forms/FormContext.h"
#include "store/RouteStore.h"
#include "support/StoreTestSupport.h"
#include "wizard/ExplainPanel.h"
#include "wizard/FileCopy.h"
#include "wizard/FileEmail.h"
#include "wizard/FileFTP.h"
#include "wizard/FileKXSecure.h"
#include "wizard/MoveVia.h"
#include "wizard/RuleName.h"
#include "wizard/frmProxy.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include <cstdio>

using namespace molvik;

namespace {

struct Shots
{
    explicit Shots(QString folder) : dir(std::move(folder)) {}

    QString dir;
    test::NativeStore s;
    FormContext forms{*s.store, FormServices::real()};
    int failures = 0;

    void save(QWidget &w, const QString &name)
    {
        w.show();
        QApplication::processEvents();
        if (!w.grab().save(dir + u'/' + name + QStringLiteral(".png"), "PNG"))
            ++failures;
    }
    template<typename F> void page(const QString &name, bool explained = false)
    {
        F &form = forms.form<F>();
        if (explained) {
            form.show();
            form.template findChild<ExplainPanel *>()->Explain->click();
        }
        save(form, name);
        forms.unload<F>();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: form_screenshots DIR\n");
        return 2;
    }
    Shots shots(QString::fromLocal8Bit(argv[1]));
    // The explanation texts where the pages look for them.
    const QDir texts(QStringLiteral(MOLVIK_WIZARD_TEXTS));
    QDir().mkpath(shots.s.path(QStringLiteral("Wizard")));
    for (const QString &name : texts.entryList(QDir::Files))
        QFile::copy(texts.filePath(name), shots.s.path(QStringLiteral("Wizard/") + name));
    // One route of each kind, as the example routes file holds them.
    shots.s.write(QStringLiteral("Routes.xml"), test::readFile(QStringLiteral(MOLVIK_EXAMPLES "/Routes.xml")));
    {
        Molvik4 control(shots.forms);
        shots.save(control, QStringLiteral("control"));
    }
    RouteStore &st = *shots.s.store;
    st.workingRoute = st.routes[1];
    shots.page<RuleName>(QStringLiteral("name-page"));
    shots.page<MoveVia>(QStringLiteral("method-page"));
    shots.page<MoveVia>(QStringLiteral("method-page-explained"), true);
    shots.page<FileCopy>(QStringLiteral("directory-page"));
    st.workingRoute = st.routes[2];
    shots.page<FileFTP>(QStringLiteral("ftp-page"));
    shots.page<frmProxy>(QStringLiteral("proxy-dialog"));
    st.workingRoute = st.routes[4];
    shots.page<FileEmail>(QStringLiteral("email-page"));
    st.workingRoute = st.routes[6];
    shots.page<FileKXSecure>(QStringLiteral("secure-page"));
    // The editor on a directory, an FTP, an email and a secure download route.
    for (const auto &[slot, name] :
         {std::pair{1, "editor-directory"}, {2, "editor-ftp"}, {4, "editor-email"}, {6, "editor-secure"}}) {
        st.editIndex = qint16(slot);
        shots.page<frmEdit>(QLatin1String(name));
    }
    st.editIndex = 0;
    return shots.failures == 0 ? 0 : 1;
}
