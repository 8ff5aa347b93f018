#include "notice/browserlauncher.h"

#include <QProcess>
#include <QUrl>
#include <algorithm>

void DesktopBrowserLauncher::launch(const QString &address)
{
    QProcess::startDetached(QStringLiteral("xdg-open"), {address});
}

bool isWebAddress(const QString &address)
{
    if (address.isEmpty() || address.startsWith(QLatin1Char('-')))
        return false;
    if (std::any_of(address.begin(), address.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return false;
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
           && !url.host().isEmpty();
}
