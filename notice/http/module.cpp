// The notice module: the program's HTTP client, loaded at the first notice fetch.
#include "notice/http/httpclient.h"

extern "C" Q_DECL_EXPORT NoticeClient *orvaneCreateNoticeClient()
{
    return new HttpClient;
}
