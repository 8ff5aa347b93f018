#include "caldav/caldaverror.h"
#include <QCoreApplication>

QString caldavErrorMessage(CalDavError error)
{
    switch (error) {
    case CalDavError::None:
        return QString();
    case CalDavError::InvalidAddress:
        return QCoreApplication::translate("CalDav", "服务器地址无效，应以 https:// 开头");
    case CalDavError::InsecureAddress:
        return QCoreApplication::translate(
            "CalDav", "这个地址不加密（http://），密码和日程会以明文传送；只有本机服务器或经您确认后才可使用");
    case CalDavError::NoServer:
        return QCoreApplication::translate("CalDav", "无法连接服务器：地址不存在或服务器没有运行");
    case CalDavError::ConnectionLost:
        return QCoreApplication::translate("CalDav", "与服务器的连接中断了");
    case CalDavError::Timeout:
        return QCoreApplication::translate("CalDav", "服务器没有及时回答");
    case CalDavError::UntrustedCertificate:
        return QCoreApplication::translate("CalDav", "服务器的 TLS 证书不受信任");
    case CalDavError::WrongPassword:
        return QCoreApplication::translate("CalDav", "用户名或密码不对，或这个用户无权访问这个地址");
    case CalDavError::NotACalendar:
        return QCoreApplication::translate("CalDav", "这个地址不是 CalDAV 日历，也找不到其中的日历");
    case CalDavError::Conflict:
        return QCoreApplication::translate("CalDav", "这个日程在服务器上已被别处改动");
    case CalDavError::SyncTokenExpired:
        return QCoreApplication::translate("CalDav", "服务器不再认得上次同步的标记，需要重新完整同步");
    case CalDavError::Rejected:
        return QCoreApplication::translate("CalDav", "服务器拒绝了这个请求");
    case CalDavError::ServerError:
        return QCoreApplication::translate("CalDav", "服务器内部出错");
    case CalDavError::ProtocolError:
        return QCoreApplication::translate("CalDav", "服务器的回答无法理解");
    }
    return QString();
}
