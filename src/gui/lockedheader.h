#pragma once

#include <QHeaderView>

namespace Gui {

// A horizontal list header whose column widths the user cannot change: no divider can be
// dragged, a double click on a divider fits nothing, sections cannot be moved, and hidden
// sections stay hidden. The program still sets the widths itself.
class LockedHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit LockedHeader(QWidget *parent = nullptr);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// Gives the header's sections the widths of the result list and hides the entry identifier's
// column for good.
void lockColumns(QHeaderView &header);

} // namespace Gui
