#include "manager/pagetabs.h"

#include <QTabBar>

namespace {

class FixedHeightTabBar : public QTabBar
{
public:
    FixedHeightTabBar(int height, QWidget *parent)
        : QTabBar(parent)
        , m_height(height)
    {
    }

protected:
    QSize tabSizeHint(int index) const override { return {QTabBar::tabSizeHint(index).width(), m_height}; }

private:
    int m_height;
};

} // namespace

PageTabs::PageTabs(int tabHeight, QWidget *parent)
    : QTabWidget(parent)
{
    setTabBar(new FixedHeightTabBar(tabHeight, this));
}
