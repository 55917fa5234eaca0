#pragma once

#include "gui/messagebox.h"
#include "gui/savedialog.h"

#include <QObject>

class QPushButton;

namespace Harvest {
class ResultList;
}

namespace Gui {

// The export button: asks for a file and appends the share codes of every row to it. A file
// that cannot be written is reported as such and left as it was.
class ExportCommand : public QObject
{
    Q_OBJECT

public:
    ExportCommand(QPushButton &button, const Harvest::ResultList &list, SaveFileSeam saveFile, MessageBoxSeam messageBox);

    void run();

private:
    const Harvest::ResultList &m_list;
    SaveFileSeam m_saveFile;
    MessageBoxSeam m_messageBox;
    QString m_lastFile; // proposed by the next dialog; none before the first choice
};

} // namespace Gui
