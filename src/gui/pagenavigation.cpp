#include "gui/pagenavigation.h"

#include "gui/statusbar.h"
#include "harvest/siteurls.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>


using namespace Qt::StringLiterals;

namespace Gui {

PageNavigation::PageNavigation(qint16 &currentPage, const MainWindowControls &controls, const MessageBoxSeam &messageBox,
                               std::function<void()> harvestCurrentPage)
    : m_page(currentPage)
    , m_controls(controls)
    , m_messageBox(messageBox)
    , m_harvest(std::move(harvestCurrentPage))
{
    QObject::connect(controls.nextPageButton, &QPushButton::clicked, controls.nextPageButton, [this] { next(); });
    QObject::connect(controls.previousPageButton, &QPushButton::clicked, controls.previousPageButton, [this] { previous(); });
    QObject::connect(controls.pageSlider, &QSlider::valueChanged, controls.pageSlider, [this](int page) { pickMoved(page); });
    QObject::connect(controls.fetchPickedPageButton, &QPushButton::clicked, controls.fetchPickedPageButton,
                     [this] { fetchPicked(); });
}

void PageNavigation::next()
{
    if (m_page == Harvest::kLastPage) {
        m_messageBox(u"已经是最后一页了"_s, MessageIcon::Information, messageTitle());
        return;
    }
    m_controls.nextPageButton->setText(u"下一页"_s);
    ++m_page;
    m_harvest();
}

void PageNavigation::previous()
{
    if (m_page == 0) {
        m_controls.nextPageButton->setText(u"直接获取"_s);
        m_messageBox(u"已经是第一页了"_s, MessageIcon::Information, messageTitle());
        return;
    }
    --m_page;
    m_harvest();
}

void PageNavigation::pickMoved(int page)
{
    m_controls.pickedPageLabel->setText(u"获取第"_s + QString::number(page) + u"页："_s);
    m_controls.statusBar->setPanelText(MainStatusPanel, u"准备获取第"_s + QString::number(page) + u"页"_s);
}

void PageNavigation::fetchPicked()
{
    m_page = static_cast<qint16>(m_controls.pageSlider->value()); // 1..150
    m_harvest();
}

} // namespace Gui
