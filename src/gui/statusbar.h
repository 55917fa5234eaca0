#pragma once

#include <QFrame>

#include <array>

class QLabel;

namespace Gui {

// The main window's status line: four panels of fixed width, numbered from 1.
class StatusBar : public QFrame
{
    Q_OBJECT

public:
    static constexpr int PanelCount = 4;
    static constexpr std::array<int, PanelCount> kPanelWidths{96, 605, 96, 96};

    explicit StatusBar(QWidget *parent = nullptr);

    // panel in 1..PanelCount; other numbers are ignored (read as empty).
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;

signals:
    void panelTextChanged(int panel, const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::array<QLabel *, PanelCount> m_panels{};
};

} // namespace Gui
