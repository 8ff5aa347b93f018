#pragma once

#include <QTabWidget>

// A page control whose tabs all have one fixed height, whatever the style would make them.
class PageControl : public QTabWidget
{
    Q_OBJECT

public:
    PageControl(int tabHeight, QWidget *parent = nullptr);
};
