#include "gui/statusbar.h"

#include <QLabel>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

constexpr int kPanelGap = 2;

// A tool tip that shows text as it is: Qt takes a tip that looks like markup for rich text.
QString plainToolTip(const QString &text)
{
    return text.isEmpty() ? QString() : Qt::convertFromPlainText(text);
}

} // namespace

StatusBar::StatusBar(QWidget *parent)
    : StatusBar(QList<int>(kPanelWidths.begin(), kPanelWidths.end()), parent)
{
}

StatusBar::StatusBar(const QList<int> &panelWidths, QWidget *parent)
    : QFrame(parent)
    , m_mirrorsToolTip(panelWidths.size(), false)
{
    int left = 0;
    for (int width : panelWidths) {
        auto *panel = new QLabel(this);
        panel->setObjectName(u"panel%1"_s.arg(m_panels.size() + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panel->setTextFormat(Qt::PlainText);
        panel->setGeometry(left, kPanelGap, width - kPanelGap, 0);
        left += width;
        m_panels.append(panel);
    }
}

void StatusBar::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    for (QLabel *panel : m_panels)
        panel->resize(panel->width(), height() - 2 * kPanelGap);
}

QLabel *StatusBar::panelLabel(int panel) const
{
    return panel >= 1 && panel <= panelCount() ? m_panels.at(panel - 1) : nullptr;
}

void StatusBar::setPanelText(int panel, const QString &text)
{
    QLabel *label = panelLabel(panel);
    if (!label)
        return;
    label->setText(text);
    if (m_mirrorsToolTip.at(panel - 1))
        setPanelToolTip(panel, text);
    emit panelTextChanged(panel, text);
}

QString StatusBar::panelText(int panel) const
{
    const QLabel *label = panelLabel(panel);
    return label ? label->text() : QString();
}

void StatusBar::setPanelToolTip(int panel, const QString &text)
{
    if (QLabel *label = panelLabel(panel))
        label->setToolTip(plainToolTip(text));
}

QString StatusBar::panelToolTip(int panel) const
{
    const QLabel *label = panelLabel(panel);
    return label ? label->toolTip() : QString();
}

void StatusBar::mirrorTextAsToolTip(int panel)
{
    if (QLabel *label = panelLabel(panel)) {
        m_mirrorsToolTip[panel - 1] = true;
        setPanelToolTip(panel, label->text());
    }
}

} // namespace Gui
