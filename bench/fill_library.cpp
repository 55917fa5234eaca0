// fill_library FILE N [--seed S]: a library of N generated shares, for trying the window and the
// queries on a library of realistic size.
#include "libraryfill.h"

#include "library/store.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cstdlib>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Fills a resource library with generated shares."_s);
    parser.addHelpOption();
    parser.addPositionalArgument(u"FILE"_s, u"the library file, created when missing"_s);
    parser.addPositionalArgument(u"N"_s, u"how many shares to add"_s);
    const QCommandLineOption seedOption(u"seed"_s, u"the generator's seed (1)"_s, u"S"_s, u"1"_s);
    parser.addOption(seedOption);
    parser.process(app);

    QTextStream err(stderr);
    const QStringList arguments = parser.positionalArguments();
    bool countRead = false;
    bool seedRead = false;
    const int count = arguments.size() == 2 ? arguments.at(1).toInt(&countRead) : 0;
    const quint32 seed = parser.value(seedOption).toUInt(&seedRead);
    if (!countRead || count < 0 || !seedRead) {
        err << "usage: fill_library FILE N [--seed S]\n";
        return EXIT_FAILURE;
    }

    const Library::Opened opened = Library::openStore(arguments.at(0));
    if (!opened.notice.isEmpty())
        err << opened.notice << '\n';
    if (!opened.store) {
        err << opened.error << '\n';
        return EXIT_FAILURE;
    }
    QElapsedTimer clock;
    clock.start();
    if (const QString error = Bench::fillLibrary(*opened.store, count, seed); !error.isEmpty()) {
        err << "fill_library: " << error << '\n';
        return EXIT_FAILURE;
    }
    err << count << " shares recorded in " << clock.elapsed() << " ms\n";
    return EXIT_SUCCESS;
}
