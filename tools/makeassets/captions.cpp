#include "captions.h"

namespace art {

const Captions &chineseCaptions()
{
    static const Captions captions{
        QStringLiteral("Orvane日程提醒"),
        QStringLiteral("设置"),
        QStringLiteral("退出"),
        QStringLiteral("关于"),
        QStringLiteral("日程提醒"),
        QStringLiteral("您有一条日程提醒到时间了"),
        QStringLiteral("日程设置"),
        QStringLiteral("退 出"),
        QStringLiteral("更多软件"),
        QStringLiteral("简单好用的桌面日程提醒工具"),
        QStringLiteral("Copyright © 2008 蓝鹊软件工作室  保留所有权利"),
        {QStringLiteral("出品：蓝鹊软件工作室（Bluejay Soft Studio）"),
         QStringLiteral("网站：http://www.example.com/orvane/"), QStringLiteral("邮箱：orvane@example.com"),
         QStringLiteral("地址：示例市软件园路 8 号 1203 室")},
    };
    return captions;
}

const Captions &englishCaptions()
{
    static const Captions captions{
        QStringLiteral("Orvane Reminder"),
        QStringLiteral("Setup"),
        QStringLiteral("Quit"),
        QStringLiteral("About"),
        QStringLiteral("Reminder"),
        QStringLiteral("A reminder of yours is due"),
        QStringLiteral("Reminder settings"),
        QStringLiteral("Quit"),
        QStringLiteral("More apps"),
        QStringLiteral("A simple, handy desktop reminder"),
        QStringLiteral("Copyright © 2008 Bluejay Soft Studio  All rights reserved"),
        {QStringLiteral("Made by: Bluejay Soft Studio"), QStringLiteral("Website: http://www.example.com/orvane/"),
         QStringLiteral("Email: orvane@example.com"),
         QStringLiteral("Address: Room 1203, 8 Software Park Road, Example City")},
    };
    return captions;
}

} // namespace art
