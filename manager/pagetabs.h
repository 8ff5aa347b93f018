#pragma once

#include <QTabWidget>

// The manager's pages behind tabs that all have one fixed height, whatever the style would make them.
class PageTabs : public QTabWidget
{
    Q_OBJECT

public:
    PageTabs(int tabHeight, QWidget *parent = nullptr);
};
