// The manager window's five pages, control by control at their design places, in tab order.

#include "manager/datagrid.h"
#include "manager/managerwindow.h"
#include "manager/pagecontrol.h"
#include "manager/panelbuilder.h"
#include "store/datamodule.h"
#include "window/fieldstyle.h"
#include "window/picture.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {
const QString kSubjectCaption = QStringLiteral("日程主题：");
const QString kContentCaption = QStringLiteral("日程内容：");
const QString kTimeCaption = QStringLiteral("提醒时间：");
const QString kBackCaption = QStringLiteral("返回");
} // namespace

void TForm2::buildAddPage()
{
    PanelBuilder panel(*PanelBuilder::addPanelPage(*PageControl1, "TabSheet1", QStringLiteral("添加提醒"), "Panel1"));
    panel.label("Label2", kSubjectCaption, 48, 33);
    panel.label("Label3", kContentCaption, 48, 74);
    panel.label("Label4", kTimeCaption, 48, 203);
    Edit2 = panel.edit("Edit2", {130, 29, 368, 19});
    Memo1 = panel.memo("Memo1", {130, 71, 367, 122});
    TimeEdit1 = panel.timeEdit("TimeEdit1", 248, 200, 89);
    DateTimePicker1 = panel.datePicker("DateTimePicker1", {128, 200, 105, 21});
    Button1 = panel.button("Button1", QStringLiteral("增加"), {208, 232, 75, 25});
    Button2 = panel.button("Button2", kBackCaption, {312, 232, 75, 25});
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);
}

void TForm2::buildModifyPage()
{
    PanelBuilder panel(*PanelBuilder::addPanelPage(*PageControl1, "TabSheet2", QStringLiteral("修改提醒"), "Panel2"));
    panel.label("Label6", kSubjectCaption, 16, 134);
    panel.label("Label7", kContentCaption, 16, 165);
    panel.label("Label8", kTimeCaption, 16, 238);
    Edit4 = panel.edit("Edit4", {88, 131, 442, 19});
    Memo2 = panel.memo("Memo2", {88, 162, 441, 58});
    DBGrid1 = panel.grid("DBGrid1", {2, 2, 541, 119}, m_dm.DataSource1, m_dialogs);
    DateTimePicker2 = panel.datePicker("DateTimePicker2", {88, 232, 105, 21});
    DateTimePicker2->setDate(QDate(2008, 7, 16));
    TimeEdit2 = panel.timeEdit("TimeEdit2", 208, 232, 89);
    Button3 = panel.button("Button3", QStringLiteral("修改"), {336, 232, 75, 25});
    Button4 = panel.button("Button4", kBackCaption, {432, 232, 75, 25});
    connect(DBGrid1, &DataGrid::dblClick, this, &TForm2::DBGrid1DblClick);
    connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &QWidget::close);
}

void TForm2::buildDeletePage()
{
    PanelBuilder panel(*PanelBuilder::addPanelPage(*PageControl1, "TabSheet3", QStringLiteral("删除提醒"), "Panel3"));
    DBGrid2 = panel.grid("DBGrid2", {2, 2, 541, 269}, m_dm.DataSource1, m_dialogs);
    DBGrid2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(DBGrid2->viewport()->mapToGlobal(at)); });
}

void TForm2::buildBrowsePage()
{
    QFrame *outer = PanelBuilder::addPanelPage(*PageControl1, "TabSheet4", QStringLiteral("浏览数据"), "Panel4");
    PanelBuilder panel(*PanelBuilder(*outer).panel("Panel5", {0, 0, 545, 273}));
    panel.label("Label5", kSubjectCaption, 16, 134);
    panel.label("Label9", kContentCaption, 16, 165);
    panel.label("Label10", kTimeCaption, 16, 234);
    Edit3 = panel.edit("Edit3", {88, 131, 442, 19});
    Memo3 = panel.memo("Memo3", {88, 162, 441, 58});
    DBGrid3 = panel.grid("DBGrid3", {2, 2, 541, 119}, m_dm.DataSource1, m_dialogs);
    Edit5 = panel.edit("Edit5", {88, 231, 353, 19});
    Button5 = panel.button("Button5", kBackCaption, {451, 228, 75, 25});
    setReadOnlyLook(Edit3);
    setReadOnlyLook(Memo3);
    setReadOnlyLook(Edit5);
    connect(DBGrid3, &DataGrid::dblClick, this, &TForm2::DBGrid3DblClick);
    connect(Button5, &QPushButton::clicked, this, &QWidget::close);
}

void TForm2::buildAboutPage()
{
    Image12 = new QLabel(PanelBuilder::addPage(*PageControl1, "TabSheet5", QStringLiteral("关于")));
    Image12->setObjectName(QStringLiteral("Image12"));
    Image12->setGeometry(0, 0, 581, 322);
    Image12->setPixmap(QPixmap::fromImage(loadPicture(QStringLiteral(":/assets/about.jpg"))));
}
