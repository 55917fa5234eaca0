#include "gui/savedialog.h"

#include <QFileDialog>
#include <QPointer>

namespace Gui {

SaveFileSeam saveFileDialog(QWidget *parent)
{
    return [owner = QPointer<QWidget>(parent)](const QString &title, const QString &filter, const QString &proposedFile) {
        return QFileDialog::getSaveFileName(owner, title, proposedFile, filter, nullptr, QFileDialog::DontConfirmOverwrite);
    };
}

} // namespace Gui
