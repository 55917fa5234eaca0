#include "gui/savedialog.h"

#include <QFileDialog>
#include <QPointer>

namespace Gui {

SaveFileSeam saveFileDialog(QWidget *parent, Overwrite overwrite)
{
    const QFileDialog::Options options = overwrite == Overwrite::Ask ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return [owner = QPointer<QWidget>(parent), options](const QString &title, const QString &filter, const QString &proposedFile) {
        return QFileDialog::getSaveFileName(owner, title, proposedFile, filter, nullptr, options);
    };
}

} // namespace Gui
