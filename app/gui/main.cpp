#include "main/form1.h"
#include "main/messagebox.h"
#include "net/endpoints.h"
#include "net/networkaccess.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vorlen360"));

    const Net::EndpointOptions options =
        Net::parseEndpointOptions(QApplication::arguments().mid(1), QProcessEnvironment::systemEnvironment());
    if (!options.error.isEmpty()) {
        QTextStream(stderr) << options.error << '\n';
        return 2;
    }
    Net::setTransferTimeout(options.endpoints.timeout);
    MainUi::installCipherMessageSink();

    // On the stack, so it outlives every harvest frame that exec() may still be unwinding.
    MainUi::Form1 form(MainUi::Form1Setup{options.endpoints, {}, {}});
    form.start();
    return QApplication::exec();
}
