// The notice module: the program's HTTP client, loaded at the first notice fetch.
#include "notice/http/httpclient.h"

class NoticeModule : public QObject, public NoticeClientModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID NoticeClientModule_iid)
    Q_INTERFACES(NoticeClientModule)

public:
    NoticeClient *createNoticeClient(QObject *parent) override { return new HttpClient(parent); }
};

#include "module.moc"
