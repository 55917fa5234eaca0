#include "gui/lockedheader.h"

#include "harvest/resultlist.h"

#include <QMouseEvent>

namespace Gui {

LockedHeader::LockedHeader(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsMovable(false);
    setSectionsClickable(false);
    setStretchLastSection(false);
    setHighlightSections(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void LockedHeader::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A double click on a divider would fit the column to its contents.
    event->accept();
}

void lockColumns(QHeaderView &header)
{
    header.setMinimumSectionSize(0);
    for (int column = 0; column < Harvest::ColumnCount; ++column)
        header.resizeSection(column, Harvest::kColumnWidths.at(column));
    header.setSectionResizeMode(QHeaderView::Fixed);
    header.hideSection(Harvest::EntryIdColumn);
}

} // namespace Gui
