#pragma once

#include "gui/librarybatch.h"
#include "library/shareexport.h"

#include <QDialog>

class QComboBox;

namespace Gui {

// What an export of the library writes: all shares, the shown ones or the selected ones; as
// template lines, CSV or JSON lines; in UTF-8 or GBK.
class LibraryExportDialog : public QDialog
{
    Q_OBJECT

public:
    LibraryExportDialog(bool haveSelection, QWidget *parent);

    LibraryBatch::Scope scope() const;
    Library::ExportOptions options() const; // without the template
    // The save dialog's filter for the chosen format.
    QString fileFilter() const;

private:
    QComboBox *m_scope;
    QComboBox *m_format;
    QComboBox *m_encoding;
};

} // namespace Gui
