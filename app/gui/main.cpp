#include "gui/mainwindow.h"
#include "gui/messagebox.h"
#include "config/endpoints.h"
#include "config/productinfo.h"
#include "library/librarypath.h"
#include "net/networksettings.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Checked before the application object exists, so a refused value is reported, and
    // --version and --help are answered, even where no display could be opened.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const Config::EndpointOptions options = Config::parseEndpointOptions(arguments, QProcessEnvironment::systemEnvironment());
    if (!options.error.isEmpty()) {
        QTextStream(stderr) << options.error << '\n';
        return 2;
    }
    for (const QString &warning : options.warnings)
        QTextStream(stderr) << warning << '\n';
    const QString request = options.remaining.value(0);
    if (request == u"--version" || request == u"--help" || request == u"-h") {
        QTextStream out(stdout);
        if (request == u"--version")
            out << Config::versionLine() << '\n';
        else
            out << Config::usageText(u"vorlen360", u"[endpoint options]", {});
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vorlen360"));
    Gui::installCipherMessageSink();
    Net::applySettings(options.endpoints);

    // Before the window, so the library outlives it.
    const Library::Opened library = Library::openConfiguredStore(options.endpoints);

    // On the stack, so it outlives every harvest frame that exec() may still be unwinding.
    Gui::MainWindowSetup setup;
    setup.library = library.store.get();
    setup.libraryNotice = library.notice;
    setup.libraryError = library.error;
    setup.endpoints = options.endpoints;
    setup.profileWarning = options.profileError;
    setup.settings = options.provenance;
    Gui::MainWindow form(std::move(setup));
    form.start();
    return QApplication::exec();
}
