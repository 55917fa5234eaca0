#pragma once

#include <QFrame>
#include <QList>

#include <array>

class QLabel;

namespace Gui {

// A window's status line: panels of fixed width, numbered from 1; by default the main window's
// four.
class StatusBar : public QFrame
{
    Q_OBJECT

public:
    // The main window's panels.
    static constexpr int PanelCount = 4;
    static constexpr std::array<int, PanelCount> kPanelWidths{96, 605, 96, 96};

    explicit StatusBar(QWidget *parent = nullptr);
    StatusBar(const QList<int> &panelWidths, QWidget *parent);

    // panel in 1..panelCount(); other numbers are ignored (read as empty).
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;
    int panelCount() const { return int(m_panels.size()); }

    // From now on the panel's tool tip repeats its text as plain text, for texts wider than the
    // panel.
    void mirrorTextAsToolTip(int panel);

    // The panel's tool tip, shown as plain text; empty: none.
    void setPanelToolTip(int panel, const QString &text);
    QString panelToolTip(int panel) const;

signals:
    void panelTextChanged(int panel, const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *panelLabel(int panel) const;

    QList<QLabel *> m_panels;
    QList<bool> m_mirrorsToolTip;
};

} // namespace Gui
