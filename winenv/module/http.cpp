#include "http.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QStringDecoder>
#include <QTimer>

#include "convert.h"
#include "textcodec.h"

using namespace vbs;

namespace winenv {

namespace {

// The errors a failed request raises, as each of the two families raises them on Windows.
struct NetErrors {
    int32_t cannotConnect, nameNotResolved, timedOut, invalidState;
};
// MSXML2.XMLHTTP goes through WinINet; ServerXMLHTTP and WinHttpRequest through WinHTTP.
constexpr NetErrors WinInet{int32_t(0x800C0005), int32_t(0x800C0005), int32_t(0x800C000B), int32_t(0x8000000A)};
constexpr NetErrors WinHttp{int32_t(0x80072EFD), int32_t(0x80072EE7), int32_t(0x80072EE2), int32_t(0x80072EF1)};

QNetworkAccessManager &network()
{
    static QNetworkAccessManager *manager = new QNetworkAccessManager;
    return *manager;
}

} // namespace

HttpRequest::HttpRequest(Family family) : m_family(family) {}

HttpRequest::~HttpRequest()
{
    if (m_reply) {
        m_reply->abort();
        m_reply->deleteLater();
    }
}

QString HttpRequest::typeName() const
{
    switch (m_family) {
    case Family::Client: return QStringLiteral("IXMLHTTPRequest");
    case Family::Server: return QStringLiteral("IServerXMLHTTPRequest2");
    default: return QStringLiteral("IWinHttpRequest");
    }
}

int HttpRequest::memberId(const QString &name)
{
    static const MemberTable members{"open", "send", "setRequestHeader", "status", "statusText", "responseText",
                                     "responseBody", "getResponseHeader", "getAllResponseHeaders", "readyState",
                                     "abort", "WaitForResponse", "SetTimeouts", "Option", "onreadystatechange",
                                     "setTimeouts", "waitForResponse", "setOption", "getOption", "responseXML"};
    return members.id(name);
}

bool HttpRequest::failed(Context &cx, int32_t number, const QString &why)
{
    return cx.raise(number, why);
}

// Processes the network's events until the reply has finished, or the time limit, the
// request's own timeout or `waitMs` (when not negative) has passed.
bool HttpRequest::wait(Context &cx, qint64 waitMs)
{
    QElapsedTimer waited;
    waited.start();
    const NetErrors &errors = m_family == Family::Client ? WinInet : WinHttp;
    return cx.waitUntil([&](int slice) {
        if (!m_reply || m_reply->isFinished())
            return true;
        QEventLoop loop;
        QObject::connect(m_reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(slice, &loop, &QEventLoop::quit);
        loop.exec();
        if (m_reply->isFinished())
            return true;
        if (m_receiveTimeoutMs > 0 && m_started.elapsed() > m_receiveTimeoutMs) {
            m_reply->abort();
            failed(cx, errors.timedOut, QStringLiteral("The operation timed out"));
            return true;
        }
        return waitMs >= 0 && waited.elapsed() >= waitMs;
    }) && !cx.hasError();
}

bool HttpRequest::collect(Context &cx)
{
    if (!m_reply || m_collected)
        return true;
    m_collected = true;
    QNetworkReply *reply = m_reply;
    const NetErrors &errors = m_family == Family::Client ? WinInet : WinHttp;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 0) { // no answer from a server at all
        const QNetworkReply::NetworkError e = reply->error();
        m_readyState = 1; // no answer to read: status and the rest raise
        if (e == QNetworkReply::HostNotFoundError)
            return failed(cx, errors.nameNotResolved, QStringLiteral("The server name or address could not be resolved"));
        if (e == QNetworkReply::TimeoutError || e == QNetworkReply::OperationCanceledError)
            return failed(cx, errors.timedOut, QStringLiteral("The operation timed out"));
        return failed(cx, errors.cannotConnect,
                      QStringLiteral("A connection with the server could not be established (%1)").arg(reply->errorString()));
    }
    m_status = status;
    m_statusText = QString::fromLatin1(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
    m_headers = reply->rawHeaderPairs();
    m_body = reply->readAll();
    m_readyState = 4;
    return cx.spend(m_body.size());
}

// The text of the body in the character set the answer names, else UTF-8 (after a mark,
// UTF-16 or UTF-8 as the mark says).
QString HttpRequest::bodyText() const
{
    QByteArray type;
    for (const auto &h : m_headers)
        if (h.first.compare("content-type", Qt::CaseInsensitive) == 0)
            type = h.second.toLower();
    const qsizetype at = type.indexOf("charset=");
    if (at >= 0 && !m_body.startsWith("\xef\xbb\xbf") && !m_body.startsWith("\xff\xfe")) {
        QByteArray name = type.mid(at + 8);
        name = name.left(name.indexOf(';') < 0 ? name.size() : name.indexOf(';')).trimmed().replace('"', "");
        QStringDecoder decoder(name.constData());
        if (decoder.isValid())
            return decoder.decode(m_body);
    }
    return vbs::decodeText(m_body);
}

bool HttpRequest::invoke(Context &cx, int id, Invoke kind, Args a, Value &result)
{
    enum { Open = 1, Send, SetRequestHeader, Status, StatusText, ResponseText, ResponseBody, GetResponseHeader,
           GetAllResponseHeaders, ReadyState, Abort, WaitForResponse, SetTimeouts, Option, OnReadyStateChange,
           SetTimeouts2, WaitForResponse2, SetOption, GetOption, ResponseXML };
    if (id == SetTimeouts2)
        id = SetTimeouts;
    if (id == WaitForResponse2)
        id = WaitForResponse;
    const bool assigning = kind & (InvokeLet | InvokeSet);
    if (assigning && id != OnReadyStateChange && id != Option)
        return cx.raise(err::NoSuchMember);
    const NetErrors &errors = m_family == Family::Client ? WinInet : WinHttp;
    const bool needsAnswer = id == Status || id == StatusText || id == ResponseText || id == ResponseBody
                             || id == GetResponseHeader || id == GetAllResponseHeaders;
    if (needsAnswer) {
        if (m_reply && !m_reply->isFinished() && !m_async && !wait(cx, -1))
            return false;
        if (m_reply && m_reply->isFinished() && !collect(cx))
            return false;
        if (m_readyState < 4)
            return failed(cx, errors.invalidState,
                          QStringLiteral("The data necessary to complete this operation is not yet available."));
    }
    QString text, other;
    switch (id) {
    case Open: {
        // open(method, url[, async[, user, password]])
        if (a.count < 2 || !toText(cx, a[0], m_method) || !toText(cx, a[1], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        bool async = m_family == Family::Client; // XMLHTTP is asynchronous unless told
        if (a.has(2) && !toBool(cx, a[2], async))
            return false;
        const QUrl url(text);
        if (!url.isValid() || url.scheme().isEmpty())
            return failed(cx, int32_t(0x80070057), QStringLiteral("The URL is invalid: %1").arg(text));
        if (m_reply) {
            m_reply->abort();
            m_reply->deleteLater();
        }
        m_reply = nullptr;
        m_async = async;
        m_request = QNetworkRequest(url);
        m_request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                               m_followRedirects ? QNetworkRequest::NoLessSafeRedirectPolicy : QNetworkRequest::ManualRedirectPolicy);
        if (a.has(3) && a.has(4)) {
            QString user, password;
            if (!toText(cx, a[3], user) || !toText(cx, a[4], password))
                return false;
            QUrl withUser = url;
            withUser.setUserName(user);
            withUser.setPassword(password);
            m_request.setUrl(withUser);
        }
        m_method = m_method.toUpper();
        m_readyState = 1;
        m_status = 0;
        m_body.clear();
        m_headers.clear();
        m_collected = false;
        return true;
    }
    case SetRequestHeader:
        if (a.count != 2 || !toText(cx, a[0], text) || !toText(cx, a[1], other))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (m_readyState != 1)
            return failed(cx, errors.invalidState, QStringLiteral("The request has not been opened."));
        m_request.setRawHeader(text.toLatin1(), other.toUtf8());
        return true;
    case Send: {
        if (m_readyState != 1 || m_reply)
            return failed(cx, errors.invalidState, QStringLiteral("The request has not been opened."));
        QByteArray body;
        if (a.has(0) && !a[0].isEmpty() && !a[0].isNull()) {
            if (a[0].isArray() && a[0].asArray()->isBytes()) {
                body = a[0].asArray()->bytes();
            } else if (toText(cx, a[0], text)) {
                body = text.toUtf8();
                if (!m_request.hasRawHeader("Content-Type"))
                    m_request.setRawHeader("Content-Type", "text/plain; charset=UTF-8");
            } else {
                return false;
            }
        }
        if (!cx.spend(body.size()))
            return false;
        m_started.start();
        m_reply = network().sendCustomRequest(m_request, m_method.toLatin1(), body);
        m_readyState = 1;
        if (m_async)
            return true;
        return wait(cx, -1) && collect(cx);
    }
    case Status: result = Value::lng(m_status); return true;
    case StatusText: result = Value::string(m_statusText); return true;
    case ResponseText: result = Value::string(bodyText()); return true;
    case ResponseBody: result = Value::array(ArrayData::fromBytes(m_body)); return true;
    case GetResponseHeader:
        if (a.count != 1 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        for (const auto &h : m_headers)
            if (QString::fromLatin1(h.first).compare(text, Qt::CaseInsensitive) == 0) {
                result = Value::string(QString::fromUtf8(h.second));
                return true;
            }
        result = Value::string(QString()); // a header the answer lacks: the empty string
        return true;
    case GetAllResponseHeaders:
        for (const auto &h : m_headers)
            text += QString::fromLatin1(h.first) + QStringLiteral(": ") + QString::fromUtf8(h.second) + QStringLiteral("\r\n");
        result = Value::string(text);
        return true;
    case ReadyState:
        // A script that polls readyState lets the request make progress.
        if (m_reply && !m_reply->isFinished())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (m_reply && m_reply->isFinished() && !collect(cx))
            return false;
        result = Value::lng(m_reply && !m_reply->isFinished() ? 3 : m_readyState);
        return true;
    case Abort:
        if (m_reply)
            m_reply->abort();
        m_readyState = 0;
        return true;
    case WaitForResponse: { // WaitForResponse([seconds]): True when the answer came
        double seconds = -1;
        if (a.has(0) && !toDouble(cx, a[0], seconds))
            return false;
        if (!wait(cx, seconds < 0 ? -1 : qint64(seconds * 1000)))
            return false;
        const bool done = !m_reply || m_reply->isFinished();
        if (done && !collect(cx))
            return false;
        result = Value::boolean(done);
        return true;
    }
    case SetTimeouts: { // resolve, connect, send, receive: milliseconds; the receive one counts here
        int32_t t[4] = {0, 0, 0, 0};
        if (a.count != 4)
            return cx.raise(err::WrongArgs);
        for (int i = 0; i < 4; ++i)
            if (!toLong(cx, a[i], t[i]))
                return false;
        m_receiveTimeoutMs = qMax(t[1], t[3]) > 0 ? qint64(t[1]) + t[3] : 0;
        return true;
    }
    case Option:
    case SetOption:
    case GetOption: { // Option(6): redirects followed (WinHttpRequestOption_EnableRedirects)
        int32_t which;
        if (a.count < 1 || !toLong(cx, a[0], which))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (assigning || id == SetOption) {
            if (which == 6 && a.count == 2 && !toBool(cx, a[1], m_followRedirects))
                return false;
            return true;
        }
        result = which == 6 ? Value::boolean(m_followRedirects) : Value();
        return true;
    }
    case OnReadyStateChange:
        return true; // events are not delivered to scripts here; poll readyState instead
    case ResponseXML:
        return cx.raise(err::NoSuchMember, QStringLiteral("responseXML is not available here: load responseText into "
                                                          "an MSXML2.DOMDocument"));
    default:
        return cx.raise(err::NoSuchMember);
    }
}

} // namespace winenv
