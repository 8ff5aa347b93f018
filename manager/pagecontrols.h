#pragma once

#include "core/translatedtext.h"

#include <QPoint>
#include <QRect>
#include <QString>

class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class RepeatChoice;
class QTimeEdit;
class QWidget;

// Texts that several pages show.
inline const TranslatedText kSubjectCaption{"ManagerPages", QT_TRANSLATE_NOOP("ManagerPages", "日程主题：")};
inline const TranslatedText kContentCaption{"ManagerPages", QT_TRANSLATE_NOOP("ManagerPages", "日程内容：")};
inline const TranslatedText kTimeCaption{"ManagerPages", QT_TRANSLATE_NOOP("ManagerPages", "提醒时间：")};
inline const TranslatedText kBackCaption{"ManagerPages", QT_TRANSLATE_NOOP("ManagerPages", "返回")};
// Captions of the information boxes: refusals and other notices, and confirmations.
inline const TranslatedText kNoticeCaption{"ManagerPages", QT_TRANSLATE_NOOP("ManagerPages", "提示")};
inline const TranslatedText kReminderCaption{"ManagerPages", QT_TRANSLATE_NOOP("ManagerPages", "提醒")};
// Loading or showing a row from a list that holds none.
inline const TranslatedText kNoDataMessage{"ManagerPages", QT_TRANSLATE_NOOP("ManagerPages", "没有任何数据!")};

// The controls of the manager's pages, each made at its place on a panel and named after its role. A page
// makes its controls in tab order, which makes the order of creation the tab order. The places and sizes,
// in pixels, are those the pages have always had, kept so that they look as they always did.

// A raised panel; by default at the place where every page but the About page holds one.
QFrame *placePanel(QWidget *parent, const QRect &geometry = QRect(18, 24, 545, 273));
// A caption to the left of its field; its buddy field takes its text as the name screen readers read.
QLabel *placeCaption(QWidget *panel, const char *name, const QString &text, QPoint at);
QLineEdit *placeLineEdit(QWidget *panel, const char *name, const QRect &geometry);
// Enter starts a new line; Tab moves on as in every other field.
QPlainTextEdit *placeTextEdit(QWidget *panel, const char *name, const QRect &geometry);
// A time of day (named 提醒时间 for screen readers), 24-hour "hh:MM:ss" in Latin digits; midnight at first. The click
// that enters it selects the hour, so that a time is typed from its start.
QTimeEdit *placeTimeEdit(QWidget *panel, QPoint at, int width);
// A date (named 提醒日期 for screen readers) in the regional short form, in Latin digits, with a drop-down calendar.
QDateEdit *placeDateEdit(QWidget *panel, const QRect &geometry);
// The 重复 choice, named repeatChoice.
RepeatChoice *placeRepeatChoice(QWidget *panel, const QRect &geometry);
// Neither a default nor an auto-default button: Enter presses none of them.
QPushButton *placeButton(QWidget *panel, const char *name, const QString &caption, const QRect &geometry);
