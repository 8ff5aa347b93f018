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
        <translation>Settings</translation>
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
        <translation>More software</translation>
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
</TS>
