#include "gui/statusbar.h"

#include <QLabel>

namespace Gui {

namespace {

constexpr int kPanelGap = 2;

} // namespace

StatusBar::StatusBar(QWidget *parent)
    : QFrame(parent)
{
    int left = 0;
    for (int i = 0; i < PanelCount; ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panel->setTextFormat(Qt::PlainText);
        panel->setGeometry(left, kPanelGap, kPanelWidths.at(i) - kPanelGap, 0);
        left += kPanelWidths.at(i);
        m_panels.at(i) = panel;
    }
}

void StatusBar::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    for (QLabel *panel : m_panels)
        panel->resize(panel->width(), height() - 2 * kPanelGap);
}

void StatusBar::setPanelText(int panel, const QString &text)
{
    if (panel < 1 || panel > PanelCount)
        return;
    m_panels.at(panel - 1)->setText(text);
    emit panelTextChanged(panel, text);
}

QString StatusBar::panelText(int panel) const
{
    return panel >= 1 && panel <= PanelCount ? m_panels.at(panel - 1)->text() : QString();
}

} // namespace Gui
