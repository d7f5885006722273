#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QNetworkRequest>
#include <QPair>

#include "dispatch.h"

class QNetworkReply;

// Web requests as scripts make them: MSXML2.XMLHTTP (through WinINet on Windows),
// MSXML2.ServerXMLHTTP and WinHttp.WinHttpRequest.5.1 (through WinHTTP), over Qt Network.
// The member names are the same in any letter case; what differs between the families is
// whether open() is asynchronous by default and which error numbers a failure raises.
// Waiting for an answer gives way to the time limit.
namespace winenv {

class HttpRequest : public vbs::Object {
public:
    enum class Family { Client, Server, WinHttp };
    explicit HttpRequest(Family family);
    ~HttpRequest() override;

    QString typeName() const override;
    int memberId(const QString &name) override;
    bool invoke(vbs::Context &cx, int id, vbs::Invoke kind, vbs::Args args, vbs::Value &result) override;

private:
    bool wait(vbs::Context &cx, qint64 waitMs);
    bool collect(vbs::Context &cx);
    bool failed(vbs::Context &cx, int32_t number, const QString &why);
    QString bodyText() const;

    Family m_family;
    QNetworkRequest m_request;
    QString m_method;
    QNetworkReply *m_reply = nullptr;
    bool m_async = false;
    bool m_collected = false;
    bool m_followRedirects = true;
    qint64 m_receiveTimeoutMs = 0;
    QElapsedTimer m_started;
    int m_readyState = 0;
    int32_t m_status = 0;
    QString m_statusText;
    QList<QPair<QByteArray, QByteArray>> m_headers;
    QByteArray m_body;
};

} // namespace winenv
