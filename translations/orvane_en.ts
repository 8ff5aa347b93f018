<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>About</name>
    <message>
        <source>Orvane日程提醒V2.0正在开发中！<byte value="xd"/><byte value="xd"/></source>
        <translation>Orvane Reminder V2.0 is on its way!<byte value="xd"/><byte value="xd"/></translation>
    </message>
    <message>
        <source>如想获得V2.0的体验者，<byte value="xd"/><byte value="xd"/></source>
        <translation>To try V2.0 before it is out,<byte value="xd"/><byte value="xd"/></translation>
    </message>
    <message>
        <source>请发送邮件到：<byte value="xd"/><byte value="xd"/></source>
        <translation>send an email to:<byte value="xd"/><byte value="xd"/></translation>
    </message>
    <message>
        <source> 注明：Orvane日程提醒V2.0体验者！</source>
        <translation> with the note: Orvane Reminder V2.0 trial!</translation>
    </message>
    <message>
        <source>【Orvane日程提醒 V2.0功能简介】<byte value="xd"/><byte value="xd"/><byte value="xd"/>1.  增加新闻显示功能！<byte value="xd"/><byte value="xd"/>2.  提醒功能分类：“约会提醒”,“商务提醒”，“工作计划”，等等！<byte value="xd"/><byte value="xd"/>3.  增加当前时间显示功能！<byte value="xd"/><byte value="xd"/>4.  增加提醒铃声可以自己设置！<byte value="xd"/><byte value="xd"/>5.  铃声提醒可分为：“单独铃声提醒”,“屏幕抖动”<byte value="xd"/><byte value="xd"/>6.  增加常用联系人模块！<byte value="xd"/><byte value="xd"/>7.  还有更多功能....<byte value="xd"/><byte value="xd"/>8.  尽请期待 【Orvane日程提醒V2.0】<byte value="xd"/><byte value="xd"/></source>
        <translation>[What is new in Orvane Reminder V2.0]<byte value="xd"/><byte value="xd"/><byte value="xd"/>1.  Shows the news!<byte value="xd"/><byte value="xd"/>2.  Kinds of reminders: &quot;Appointment&quot;, &quot;Business&quot;, &quot;Work plan&quot; and more!<byte value="xd"/><byte value="xd"/>3.  Shows the current time!<byte value="xd"/><byte value="xd"/>4.  Choose your own alert sound!<byte value="xd"/><byte value="xd"/>5.  Alerts with &quot;Sound only&quot; or &quot;Shake the screen&quot;<byte value="xd"/><byte value="xd"/>6.  Keeps your frequent contacts!<byte value="xd"/><byte value="xd"/>7.  And much more....<byte value="xd"/><byte value="xd"/>8.  Coming soon: [Orvane Reminder V2.0]<byte value="xd"/><byte value="xd"/></translation>
    </message>
</context>
<context>
    <name>AddPage</name>
    <message>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>请输入完整数据,或者时间不能为0！</source>
        <translation>Please fill in every field; the time cannot be 0!</translation>
    </message>
    <message>
        <source>增加日程提醒成功！</source>
        <translation>Reminder added!</translation>
    </message>
</context>
<context>
    <name>Agenda</name>
    <message>
        <source>（稍后）</source>
        <translation> (later)</translation>
    </message>
</context>
<context>
    <name>AlertWindow</name>
    <message>
        <source>5 分钟</source>
        <translation>5 minutes</translation>
    </message>
    <message>
        <source>10 分钟</source>
        <translation>10 minutes</translation>
    </message>
    <message>
        <source>30 分钟</source>
        <translation>30 minutes</translation>
    </message>
    <message>
        <source>1 小时</source>
        <translation>1 hour</translation>
    </message>
    <message>
        <source>日程提醒</source>
        <translation>Reminder</translation>
    </message>
    <message>
        <source>日程主题：</source>
        <translation>Subject:</translation>
    </message>
    <message>
        <source>日程内容：</source>
        <translation>Details:</translation>
    </message>
    <message>
        <source>提醒时间：</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>最大化</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>稍后提醒</source>
        <translation>Remind me later</translation>
    </message>
    <message>
        <source>1 分钟</source>
        <translation>1 minute</translation>
    </message>
</context>
<context>
    <name>Autostart</name>
    <message>
        <source>无法删除登录时自动启动的设置“%1”：%2</source>
        <translation>Cannot remove the start-at-login entry &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>无法写入登录时自动启动的设置“%1”：%2</source>
        <translation>Cannot write the start-at-login entry &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>CalDav</name>
    <message>
        <source>服务器地址无效，应以 https:// 开头</source>
        <translation>The server address is not valid; it must begin with https://</translation>
    </message>
    <message>
        <source>这个地址不加密（http://），密码和日程会以明文传送；只有本机服务器或经您确认后才可使用</source>
        <translation>This address is not encrypted (http://): the password and the reminders would travel as plain text; it can be used only for a server on this computer or once you confirm it</translation>
    </message>
    <message>
        <source>无法连接服务器：地址不存在或服务器没有运行</source>
        <translation>Cannot connect to the server: the address does not exist or the server is not running</translation>
    </message>
    <message>
        <source>与服务器的连接中断了</source>
        <translation>The connection to the server was interrupted</translation>
    </message>
    <message>
        <source>服务器没有及时回答</source>
        <translation>The server did not answer in time</translation>
    </message>
    <message>
        <source>服务器的 TLS 证书不受信任</source>
        <translation>The server&apos;s TLS certificate is not trusted</translation>
    </message>
    <message>
        <source>用户名或密码不对，或这个用户无权访问这个地址</source>
        <translation>The user name or password is wrong, or this user may not access this address</translation>
    </message>
    <message>
        <source>这个地址不是 CalDAV 日历，也找不到其中的日历</source>
        <translation>This address is not a CalDAV calendar, and no calendar was found in it</translation>
    </message>
    <message>
        <source>这个日程在服务器上已被别处改动</source>
        <translation>This reminder was changed elsewhere on the server</translation>
    </message>
    <message>
        <source>服务器不再认得上次同步的标记，需要重新完整同步</source>
        <translation>The server no longer knows the mark of the last sync; a full sync is needed</translation>
    </message>
    <message>
        <source>服务器拒绝了这个请求</source>
        <translation>The server refused this request</translation>
    </message>
    <message>
        <source>服务器内部出错</source>
        <translation>The server had an internal error</translation>
    </message>
    <message>
        <source>服务器的回答无法理解</source>
        <translation>The server&apos;s answer could not be understood</translation>
    </message>
</context>
<context>
    <name>DBusNotifier</name>
    <message>
        <source>Orvane日程提醒</source>
        <translation>Orvane Reminder</translation>
    </message>
    <message>
        <source>显示提醒</source>
        <translation>Show reminder</translation>
    </message>
    <message>
        <source>稍后提醒（10 分钟）</source>
        <translation>Remind me later (10 minutes)</translation>
    </message>
</context>
<context>
    <name>DeletePage</name>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>删除成功！</source>
        <translation>Deleted!</translation>
    </message>
    <message>
        <source>这条日程提醒已被其他程序删除。列表已重新读取。</source>
        <translation>Another program has already deleted this reminder. The list was read again.</translation>
    </message>
    <message>
        <source>这条日程提醒没有可用的编号（id），不能删除。它是其他程序写入的。</source>
        <translation>This reminder has no usable number (id), so it cannot be deleted. Another program wrote it.</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>删除重复提醒</source>
        <translation>Delete repeating reminder</translation>
    </message>
    <message>
        <source>“%1”是重复提醒。只删除这一次，还是删除整个系列？</source>
        <translation>“%1” repeats. Delete only this occurrence, or the whole series?</translation>
    </message>
    <message>
        <source>只删除这一次</source>
        <translation>Only this occurrence</translation>
    </message>
    <message>
        <source>删除整个系列</source>
        <translation>The whole series</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>每日提醒</source>
        <translation>Today&apos;s reminders</translation>
    </message>
    <message>
        <source>【Orvane日程提醒V2.0简介】</source>
        <translation>[About Orvane Reminder V2.0]</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Setup</translation>
    </message>
    <message>
        <source>添加、修改、删除和浏览提醒</source>
        <translation>Add, change, delete and browse reminders</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>隐藏/显示</source>
        <translation>Hide/Show</translation>
    </message>
    <message>
        <source>登录时自动启动</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>同步设置…</source>
        <translation>Sync settings…</translation>
    </message>
</context>
<context>
    <name>ManagerPages</name>
    <message>
        <source>提醒时间</source>
        <translation>Reminder time</translation>
    </message>
    <message>
        <source>提醒日期</source>
        <translation>Reminder date</translation>
    </message>
    <message>
        <source>日程主题：</source>
        <translation>Subject:</translation>
    </message>
    <message>
        <source>日程内容：</source>
        <translation>Details:</translation>
    </message>
    <message>
        <source>提醒时间：</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>提醒</source>
        <translation>Reminder</translation>
    </message>
    <message>
        <source>没有任何数据!</source>
        <translation>There is no data!</translation>
    </message>
</context>
<context>
    <name>ManagerWindow</name>
    <message>
        <source>日程设置</source>
        <translation>Reminder settings</translation>
    </message>
    <message>
        <source>更多信息...</source>
        <translation>More information...</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>更多软件</source>
        <translation>More apps</translation>
    </message>
    <message>
        <source>在浏览器中打开</source>
        <translation>Opens in the web browser</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>最大化</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>添加提醒</source>
        <translation>Add reminder</translation>
    </message>
    <message>
        <source>修改提醒</source>
        <translation>Change reminder</translation>
    </message>
    <message>
        <source>删除提醒</source>
        <translation>Delete reminder</translation>
    </message>
    <message>
        <source>浏览数据</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>ModifyPage</name>
    <message>
        <source>修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>请不要误操作!</source>
        <translation>Please check your input!</translation>
    </message>
    <message>
        <source>修改日程提醒成功！</source>
        <translation>Reminder changed!</translation>
    </message>
    <message>
        <source>这条日程提醒已被其他程序删除，修改没有保存。列表已重新读取。</source>
        <translation>Another program has already deleted this reminder; the change was not saved. The list was read again.</translation>
    </message>
    <message>
        <source>这条日程提醒没有可用的编号（id），不能修改。它是其他程序写入的。</source>
        <translation>This reminder has no usable number (id), so it cannot be changed. Another program wrote it.</translation>
    </message>
    <message>
        <source>请输入提醒的日期和时间！</source>
        <translation>Please enter the date and time of the reminder!</translation>
    </message>
</context>
<context>
    <name>ModuleNoticeClient</name>
    <message>
        <source>无法载入通知模块：</source>
        <translation>Cannot load the notice module: </translation>
    </message>
</context>
<context>
    <name>NoticeFetch</name>
    <message>
        <source>通知页面的回复超过 1 MiB，已停止接收</source>
        <translation>The notice page&apos;s reply is over 1 MiB; receiving stopped</translation>
    </message>
    <message>
        <source>通知页面的回复长度无效</source>
        <translation>The notice page&apos;s reply has an invalid length</translation>
    </message>
    <message>
        <source>通知页面的网址无效：</source>
        <translation>The notice page&apos;s address is not valid: </translation>
    </message>
</context>
<context>
    <name>NoticeLinks</name>
    <message>
        <source>通知页面中没有可以打开的网址（只能打开 http 或 https 网址），未启动浏览器。</source>
        <translation>The notice page has no address that can be opened (only http and https addresses can), so no browser was started.</translation>
    </message>
</context>
<context>
    <name>Orvane</name>
    <message>
        <source>Orvane日程提醒v1.0</source>
        <translation>Orvane Reminder v1.0</translation>
    </message>
</context>
<context>
    <name>ReminderGrid</name>
    <message>
        <source>提醒列表</source>
        <translation>Reminder list</translation>
    </message>
</context>
<context>
    <name>ReminderListModel</name>
    <message>
        <source>重复</source>
        <translation>Repeat</translation>
    </message>
</context>
<context>
    <name>ReminderStore</name>
    <message>
        <source>找不到数据库文件“%1”</source>
        <translation>Cannot find the database file &quot;%1&quot;</translation>
    </message>
    <message>
        <source>无法打开数据库文件“%1”：%2 Error opening database</source>
        <translation>Cannot open the database file &quot;%1&quot;: %2 Error opening database</translation>
    </message>
    <message>
        <source>“%1”不是可用的数据库文件：%2</source>
        <translation>&quot;%1&quot; is not a usable database file: %2</translation>
    </message>
    <message>
        <source>数据库文件“%1”中没有表“%2”</source>
        <translation>The database file &quot;%1&quot; has no table &quot;%2&quot;</translation>
    </message>
    <message>
        <source>数据库文件“%1”的表“%2”缺少列“%3”</source>
        <translation>The table &quot;%2&quot; of the database file &quot;%1&quot; lacks the column &quot;%3&quot;</translation>
    </message>
    <message>
        <source>数据库文件“%1”的表“%2”没有行号（rowid）</source>
        <translation>The table &quot;%2&quot; of the database file &quot;%1&quot; has no row numbers (rowid)</translation>
    </message>
    <message>
        <source>提醒的日期或时间无效</source>
        <translation>The date or time of the reminder is not valid</translation>
    </message>
    <message>
        <source>重复规则“%1”没有一次提醒</source>
        <translation>The repeat rule &quot;%1&quot; never falls due</translation>
    </message>
    <message>
        <source>数据库文件“%1”已经存在，保持原样</source>
        <translation>The database file &quot;%1&quot; already exists; it was left as it is</translation>
    </message>
    <message>
        <source>无法创建数据库文件“%1”：%2</source>
        <translation>Cannot create the database file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>数据库文件“%1”是只读文件，不能保存修改。</source>
        <translation>The database file &quot;%1&quot; is read-only; changes cannot be saved.</translation>
    </message>
</context>
<context>
    <name>RepeatChoice</name>
    <message>
        <source>不重复</source>
        <translation>Does not repeat</translation>
    </message>
    <message>
        <source>每天</source>
        <translation>Daily</translation>
    </message>
    <message>
        <source>工作日</source>
        <translation>Weekdays</translation>
    </message>
    <message>
        <source>每周</source>
        <translation>Weekly</translation>
    </message>
    <message>
        <source>每月</source>
        <translation>Monthly</translation>
    </message>
    <message>
        <source>每年</source>
        <translation>Yearly</translation>
    </message>
    <message>
        <source>重复</source>
        <translation>Repeat</translation>
    </message>
</context>
<context>
    <name>Repetition</name>
    <message>
        <source>一</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>二</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>三</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>四</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>五</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>六</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>重复规则“%1”无效</source>
        <translation>The repeat rule &quot;%1&quot; is not valid</translation>
    </message>
    <message>
        <source>每天</source>
        <translation>Every day</translation>
    </message>
    <message>
        <source>工作日</source>
        <translation>Weekdays</translation>
    </message>
    <message>
        <source>每周</source>
        <translation>Every </translation>
    </message>
    <message>
        <source>每月%1日</source>
        <translation>Monthly on day %1</translation>
    </message>
    <message>
        <source>每年%1月%2日</source>
        <translation>Every year on %1/%2</translation>
    </message>
    <message>
        <source>按规则重复</source>
        <translation>Repeats by rule</translation>
    </message>
</context>
<context>
    <name>SyncScheduler</name>
    <message numerus="yes">
        <source>%n 个日程在这台电脑和日历服务器上都被改动了：服务器上的版本已保留，这里的改动另存为主题带“%1”的副本。</source>
        <translation>
            <numerusform>%n reminder was changed both on this computer and on the calendar server: the server&apos;s version is kept, and the change made here is saved as a copy whose subject carries “%1”.</numerusform>
            <numerusform>%n reminders were changed both on this computer and on the calendar server: the server&apos;s versions are kept, and the changes made here are saved as copies whose subjects carry “%1”.</numerusform>
        </translation>
    </message>
    <message>
        <source>日历同步已停止：%1。请在同步设置中改正后再同步。</source>
        <translation>Calendar sync stopped: %1. Correct it in the sync settings to sync again.</translation>
    </message>
    <message>
        <source>日历同步接连失败：%1。程序会在后台继续重试。</source>
        <translation>Calendar sync keeps failing: %1. The program keeps trying in the background.</translation>
    </message>
    <message>
        <source>日历同步没有开始：%1。解决后在同步设置中再保存一次帐户，或重新启动程序。</source>
        <translation>Calendar sync did not start: %1. Once that is fixed, save the account again in Sync settings, or restart the program.</translation>
    </message>
</context>
<context>
    <name>SyncService</name>
    <message>
        <source>无法载入同步模块：</source>
        <translation>Cannot load the sync module: </translation>
    </message>
</context>
<context>
    <name>SyncSettings</name>
    <message>
        <source>无法写入设置文件 %1</source>
        <translation>Cannot write the settings file %1</translation>
    </message>
    <message>
        <source>没有运行中的密码存储（Secret Service，例如 GNOME 密钥环或 KWallet），无法保存或读取同步密码；请在桌面会话中启动它</source>
        <translation>No password store (Secret Service, such as GNOME Keyring or KWallet) is running, so the sync password cannot be saved or read; start one in your desktop session</translation>
    </message>
    <message>
        <source>密码存储拒绝了访问（密钥环没有解锁？）</source>
        <translation>The password store refused access (is the keyring locked?)</translation>
    </message>
    <message>
        <source>密码存储出错：%1</source>
        <translation>The password store failed: %1</translation>
    </message>
</context>
<context>
    <name>SyncSetupDialog</name>
    <message>
        <source>服务器地址无效：请填写 https:// 开头的地址</source>
        <translation>The server address is not valid: give an address that starts with https://</translation>
    </message>
    <message>
        <source>没有使用这个不加密（http://）的地址</source>
        <translation>This unencrypted (http://) address was not used</translation>
    </message>
    <message>
        <source>连不上服务器：地址不存在，或服务器没有运行</source>
        <translation>Cannot reach the server: the address does not exist, or the server is not running</translation>
    </message>
    <message>
        <source>服务器没有回答完：请稍后再试</source>
        <translation>The server did not finish answering: try again later</translation>
    </message>
    <message>
        <source>服务器的 TLS 证书不受信任（过期、自签名，或不属于这个地址）</source>
        <translation>The server&apos;s TLS certificate is not trusted (expired, self-signed, or not for this address)</translation>
    </message>
    <message>
        <source>用户名或密码不对</source>
        <translation>Wrong user name or password</translation>
    </message>
    <message>
        <source>这个地址不是日历，从它也找不到日历：请填写服务器或日历的地址</source>
        <translation>This address is not a calendar and leads to none: give the address of a server or a calendar</translation>
    </message>
    <message>
        <source>服务器内部出错：请稍后再试</source>
        <translation>The server had an internal error: try again later</translation>
    </message>
    <message>
        <source>服务器拒绝了请求，或它的回答无法理解</source>
        <translation>The server refused the request, or its answer could not be understood</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>Test connection</translation>
    </message>
    <message>
        <source>新建日历</source>
        <translation>New calendar</translation>
    </message>
    <message>
        <source>同步设置</source>
        <translation>Sync settings</translation>
    </message>
    <message>
        <source>服务器地址</source>
        <translation>Server address</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>同步的日历</source>
        <translation>Calendar to sync</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 不加密（http://）：密码和日程会以明文经过网络。仍要使用这个地址吗？</source>
        <translation>%1 is not encrypted (http://): the password and the reminders cross the network as plain text. Use this address anyway?</translation>
    </message>
    <message>
        <source>使用</source>
        <translation>Use</translation>
    </message>
    <message>
        <source>正在连接服务器…</source>
        <translation>Connecting to the server…</translation>
    </message>
    <message numerus="yes">
        <source>连接成功：找到 %n 个日历，请选择一个</source>
        <translation>
            <numerusform>Connected: found %n calendar, pick it</numerusform>
            <numerusform>Connected: found %n calendars, pick one</numerusform>
        </translation>
    </message>
    <message>
        <source>连接成功，但这个账户还没有可存放日程的日历：请新建一个</source>
        <translation>Connected, but this account has no calendar for events yet: make a new one</translation>
    </message>
    <message>
        <source>已新建日历“%1”</source>
        <translation>Made the calendar “%1”</translation>
    </message>
    <message>
        <source>请填写用户名，测试连接，再选择一个日历</source>
        <translation>Give the user name, test the connection, then pick a calendar</translation>
    </message>
    <message>
        <source>正在保存…</source>
        <translation>Saving…</translation>
    </message>
</context>
</TS>
