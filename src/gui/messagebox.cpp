#include "gui/messagebox.h"

#include "config/productinfo.h"
#include "crypto/messagesink.h"

#include <QMessageBox>
#include <QPointer>

namespace Gui {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

MessageIcon fromCipherIcon(Crypto::MessageSeverity icon)
{
    switch (icon) {
    case Crypto::MessageSeverity::Critical: return MessageIcon::Critical;
    case Crypto::MessageSeverity::Warning: return MessageIcon::Warning;
    case Crypto::MessageSeverity::None: break;
    }
    return MessageIcon::None;
}

} // namespace

QString messageTitle()
{
    return QStringLiteral("Vorlen系列软件");
}

MessageBoxSeam modalMessageBox(QWidget *parent)
{
    // The parent may be gone by the time a late message comes; then the box stands alone.
    return [guard = QPointer<QWidget>(parent)](const QString &text, MessageIcon icon, const QString &title) {
        QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, guard.data());
        // Texts come from the forum and from files too: a tag is shown, never followed.
        box.setTextFormat(Qt::PlainText);
        box.exec();
    };
}

QuestionSeam modalQuestion(QWidget *parent)
{
    return [guard = QPointer<QWidget>(parent)](const QString &text, const QString &title) {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, guard.data());
        box.setDefaultButton(QMessageBox::No);
        box.setTextFormat(Qt::PlainText);
        return box.exec() == QMessageBox::Yes;
    };
}

void installCipherMessageSink(MessageBoxSeam messageBox)
{
    Crypto::setMessageSink([messageBox = std::move(messageBox)](const QString &text, Crypto::MessageSeverity icon) {
        messageBox(text, fromCipherIcon(icon), Config::productTitle());
    });
}

} // namespace Gui
