#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of the main window's 关于 area and 简介 link, with carriage returns for line breaks.

// The version 2.0 notice of the 关于 hot area.
inline QString aboutText()
{
    const QString email = QStringLiteral("v2-trial@orvane.example.com");
    const QString qq = QStringLiteral("800012345");
    return QString(8, QLatin1Char(' ')) + QCoreApplication::translate("About", "Orvane日程提醒V2.0正在开发中！\r\r")
           + QString(11, QLatin1Char(' ')) + QCoreApplication::translate("About", "如想获得V2.0的体验者，\r\r")
           + QString(11, QLatin1Char(' ')) + QCoreApplication::translate("About", "请发送邮件到：\r\r")
           + QString(11, QLatin1Char(' ')) + email + QStringLiteral("\r\r") + QString(3, QLatin1Char(' '))
           + QStringLiteral("QQ：") + qq + QCoreApplication::translate("About", " 注明：Orvane日程提醒V2.0体验者！");
}

// The feature list of 【Orvane日程提醒V2.0简介】.
inline QString introductionText()
{
    return QStringLiteral("\r") + QString(27, QLatin1Char(' '))
           + QCoreApplication::translate("About", "【Orvane日程提醒 V2.0功能简介】\r\r\r"
                                                  "1.  增加新闻显示功能！\r\r"
                                                  "2.  提醒功能分类：“约会提醒”,“商务提醒”，“工作计划”，等等！\r\r"
                                                  "3.  增加当前时间显示功能！\r\r"
                                                  "4.  增加提醒铃声可以自己设置！\r\r"
                                                  "5.  铃声提醒可分为：“单独铃声提醒”,“屏幕抖动”\r\r"
                                                  "6.  增加常用联系人模块！\r\r"
                                                  "7.  还有更多功能....\r\r"
                                                  "8.  尽请期待 【Orvane日程提醒V2.0】\r\r");
}
