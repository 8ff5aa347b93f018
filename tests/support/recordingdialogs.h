#pragma once

#include "window/dialogs.h"

#include <QDialog>
#include <QStringList>

// Records every notice instead of blocking on a message box. Each entry reads "kind|caption|text". A box
// opened without waiting is a dialog that is never shown: it stands until the test closes it, as the user
// would, with done(), accept() or reject().
class RecordingDialogs : public Dialogs
{
public:
    ~RecordingDialogs() override { qDeleteAll(m_standing); }

    void errorBox(const QString &message) override { record(QStringLiteral("error||") + errorBoxText(message)); }
    QDialog *openErrorBox(const QString &message) override
    {
        return openStanding(QStringLiteral("error||") + errorBoxText(message));
    }
    QDialog *openSeriesDeletionQuestion(const QString &subject) override
    {
        return openStanding(QStringLiteral("series|") + subject);
    }
    void informationBox(const QString &text, const QString &caption) override
    {
        record(QStringLiteral("info|%1|%2").arg(caption, text));
    }
    void messageDialog(const QString &text) override { record(QStringLiteral("message||") + text); }

    // The boxes opened without waiting that the test has not closed, oldest first.
    const QList<QDialog *> &standingBoxes() const { return m_standing; }

    QStringList shown;

private:
    void record(const QString &entry) { shown << entry; }
    QDialog *openStanding(const QString &entry)
    {
        auto *box = new QDialog;
        m_standing << box;
        QObject::connect(box, &QDialog::finished, box, [this, box] {
            m_standing.removeOne(box);
            box->deleteLater();
        });
        record(entry);
        return box;
    }

    QList<QDialog *> m_standing;
};
