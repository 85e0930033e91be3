#include "inspector/InspectorServer.h"

#include <json/json.h>
#include <libsoup/soup.h>
#include <vector>

namespace Kite {

namespace {

// A source of the main loop that stands for the inspector's whole context:
// it polls what that context polls and dispatches what is ready there.
struct CBridgeSource {
    GSource m_source;
    GMainContext* m_pInner;
    gint m_iPriority;
    // Registered with the source, so they stay where they are until replaced.
    std::vector<GPollFD>* m_pPolled;
    std::vector<GPollFD>* m_pQuery;
};

bool SamePolls(const std::vector<GPollFD>& aPolled, const std::vector<GPollFD>& aQuery, gint iCount)
{
    if (aPolled.size() != static_cast<std::size_t>(iCount))
        return false;
    for (gint i = 0; i < iCount; ++i) {
        if (aPolled[i].fd != aQuery[i].fd || aPolled[i].events != aQuery[i].events)
            return false;
    }
    return true;
}

gboolean BridgePrepare(GSource* pSource, gint* piTimeout)
{
    CBridgeSource* pBridge = reinterpret_cast<CBridgeSource*>(pSource);
    gboolean bReady = g_main_context_prepare(pBridge->m_pInner, &pBridge->m_iPriority);
    std::vector<GPollFD>& aQuery = *pBridge->m_pQuery;
    gint iTimeout = -1;
    gint iCount;
    while ((iCount = g_main_context_query(pBridge->m_pInner, pBridge->m_iPriority, &iTimeout, aQuery.data(),
                                          static_cast<gint>(aQuery.size()))) > static_cast<gint>(aQuery.size()))
        aQuery.resize(static_cast<std::size_t>(iCount));
    std::vector<GPollFD>& aPolled = *pBridge->m_pPolled;
    // Changing the polls wakes the main loop, so only when they changed.
    if (!SamePolls(aPolled, aQuery, iCount)) {
        for (GPollFD& poll : aPolled)
            g_source_remove_poll(pSource, &poll);
        aPolled.assign(aQuery.begin(), aQuery.begin() + iCount);
        for (GPollFD& poll : aPolled)
            g_source_add_poll(pSource, &poll);
    }
    for (GPollFD& poll : aPolled)
        poll.revents = 0;
    *piTimeout = bReady ? 0 : iTimeout;
    return FALSE;
}

gboolean BridgeCheck(GSource* pSource)
{
    CBridgeSource* pBridge = reinterpret_cast<CBridgeSource*>(pSource);
    std::vector<GPollFD>& aPolled = *pBridge->m_pPolled;
    return g_main_context_check(pBridge->m_pInner, pBridge->m_iPriority, aPolled.data(),
                                static_cast<gint>(aPolled.size()));
}

gboolean BridgeDispatch(GSource* pSource, GSourceFunc, gpointer)
{
    CBridgeSource* pBridge = reinterpret_cast<CBridgeSource*>(pSource);
    // What libsoup creates meanwhile (a client's connection) belongs to the
    // inspector's context too.
    g_main_context_push_thread_default(pBridge->m_pInner);
    g_main_context_dispatch(pBridge->m_pInner);
    g_main_context_pop_thread_default(pBridge->m_pInner);
    return G_SOURCE_CONTINUE;
}

void BridgeFinalize(GSource* pSource)
{
    CBridgeSource* pBridge = reinterpret_cast<CBridgeSource*>(pSource);
    delete pBridge->m_pPolled;
    delete pBridge->m_pQuery;
}

GSourceFuncs BRIDGE_FUNCS = {BridgePrepare, BridgeCheck, BridgeDispatch, BridgeFinalize, nullptr, nullptr};

// A request's line and headers, the head, are refused above this size, as
// an HTTP server refuses them (with 431).
const std::size_t HEAD_LIMIT = 64 * 1024;
// How long a peer whose connection is ending may go on sending: what it
// sends is read meanwhile, so that it gets the answer rather than a reset.
const guint LINGER_MS = 2000;
const std::size_t READ_SIZE = 16 * 1024;
const char WEBSOCKET_GUID[] = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";

// As Node does against DNS rebinding: a web page that a browser fetched
// from a name that now points here names that name, not an address.
bool IsAllowedHost(std::string strHost)
{
    if (!strHost.empty() && strHost[0] == '[') {
        std::string::size_type uEnd = strHost.find(']');
        if (uEnd == std::string::npos)
            return false;
        strHost = strHost.substr(1, uEnd - 1);
    } else {
        std::string::size_type uColon = strHost.find(':');
        if (uColon != std::string::npos)
            strHost.resize(uColon);
    }
    return g_ascii_strcasecmp(strHost.c_str(), "localhost") == 0 || g_hostname_is_ip_address(strHost.c_str());
}

std::string Trimmed(const std::string& strText)
{
    std::string::size_type uFirst = strText.find_first_not_of(" \t");
    if (uFirst == std::string::npos)
        return std::string();
    return strText.substr(uFirst, strText.find_last_not_of(" \t") - uFirst + 1);
}

std::string Lower(std::string strText)
{
    for (char& c : strText)
        c = g_ascii_tolower(c);
    return strText;
}

// Whether a list header (Connection, Upgrade) holds the token.
bool HasToken(const std::string& strList, const char* pszToken)
{
    std::string::size_type uStart = 0;
    while (uStart <= strList.size()) {
        std::string::size_type uComma = strList.find(',', uStart);
        std::string strItem = strList.substr(uStart, uComma == std::string::npos ? std::string::npos : uComma - uStart);
        if (g_ascii_strcasecmp(Trimmed(strItem).c_str(), pszToken) == 0)
            return true;
        if (uComma == std::string::npos)
            break;
        uStart = uComma + 1;
    }
    return false;
}

// "1.0" or "1.1" from "HTTP/1.1"; "" for what is not HTTP, "other" for a
// version it does not speak.
std::string VersionOf(const std::string& strToken)
{
    if (strToken.compare(0, 5, "HTTP/") != 0 || strToken.size() < 8)
        return std::string();
    std::string strNumber = strToken.substr(5);
    std::string::size_type uDot = strNumber.find('.');
    if (uDot == 0 || uDot == std::string::npos || uDot + 1 == strNumber.size() ||
        strNumber.find_first_not_of("0123456789.") != std::string::npos ||
        strNumber.find('.', uDot + 1) != std::string::npos)
        return std::string();
    return strNumber == "1.0" || strNumber == "1.1" ? strNumber : "other";
}

// The version an answer to what a peer sent speaks: the request's, when
// its first line, within the limit, says it is one that kite speaks.
std::string AnswerVersionOf(const std::string& strInput)
{
    std::string::size_type uEnd = strInput.find("\r\n");
    if (uEnd == std::string::npos || uEnd > HEAD_LIMIT)
        return "1.0";
    std::string::size_type uSpace = strInput.rfind(' ', uEnd);
    if (uSpace == std::string::npos)
        return "1.0";
    std::string strVersion = VersionOf(strInput.substr(uSpace + 1, uEnd - uSpace - 1));
    return strVersion == "1.1" ? strVersion : "1.0";
}

std::string WebSocketAcceptOf(const std::string& strKey)
{
    std::string strText = strKey + WEBSOCKET_GUID;
    guint8 aDigest[20];
    gsize uLength = sizeof aDigest;
    GChecksum* pChecksum = g_checksum_new(G_CHECKSUM_SHA1);
    g_checksum_update(pChecksum, reinterpret_cast<const guchar*>(strText.data()), static_cast<gssize>(strText.size()));
    g_checksum_get_digest(pChecksum, aDigest, &uLength);
    g_checksum_free(pChecksum);
    gchar* pszAccept = g_base64_encode(aDigest, uLength);
    std::string strAccept = pszAccept;
    g_free(pszAccept);
    return strAccept;
}

bool IsWebSocketKey(const std::string& strKey)
{
    const char* pszBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
    if (strKey.size() != 24 || strKey.find_first_not_of(pszBase64) != std::string::npos)
        return false;
    gsize uLength = 0;
    guchar* pDecoded = g_base64_decode(strKey.c_str(), &uLength);
    g_free(pDecoded);
    return uLength == 16;
}

const char* TEXT = "text/plain; charset=UTF-8";

const char* ReasonOf(guint uStatus)
{
    switch (uStatus) {
    case 101:
        return "Switching Protocols";
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 431:
        return "Request Header Fields Too Large";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Error";
    }
}

gboolean DoNothing(gpointer)
{
    return G_SOURCE_REMOVE;
}

void SetFlag(gpointer pFlag)
{
    *static_cast<bool*>(pFlag) = true;
}

}  // namespace

struct CInspectorServer::CRequest {
    std::string m_strMethod;
    std::string m_strPath;
    std::string m_strVersion;  // "1.0" or "1.1"
    std::map<std::string, std::string> m_headers;  // by lower-case name

    std::string Header(const char* pszName) const
    {
        auto it = m_headers.find(pszName);
        return it == m_headers.end() ? std::string() : it->second;
    }

    // False for what is not a request of a version kite speaks: uRefusal
    // then holds the answer's status.
    bool Parse(const std::string& strHead, guint& uRefusal)
    {
        uRefusal = 400;
        std::string::size_type uEnd = strHead.find("\r\n");
        std::string strLine = strHead.substr(0, uEnd);
        std::string::size_type uFirst = strLine.find(' ');
        std::string::size_type uLast = strLine.rfind(' ');
        if (uFirst == std::string::npos || uFirst == 0 || uLast <= uFirst + 1)
            return false;
        m_strMethod = strLine.substr(0, uFirst);
        std::string strTarget = strLine.substr(uFirst + 1, uLast - uFirst - 1);
        m_strVersion = VersionOf(strLine.substr(uLast + 1));
        if (m_strVersion.empty() || strTarget.find(' ') != std::string::npos || strTarget[0] != '/')
            return false;
        if (m_strVersion == "other") {
            uRefusal = 505;
            return false;
        }
        m_strPath = strTarget.substr(0, strTarget.find('?'));
        while (uEnd != std::string::npos) {
            std::string::size_type uNext = strHead.find("\r\n", uEnd + 2);
            std::string strField =
                strHead.substr(uEnd + 2, uNext == std::string::npos ? std::string::npos : uNext - uEnd - 2);
            uEnd = uNext;
            std::string::size_type uColon = strField.find(':');
            if (uColon == 0 || uColon == std::string::npos || strField.find_first_of(" \t") < uColon)
                return false;
            std::string strName = Lower(strField.substr(0, uColon));
            std::string strValue = Trimmed(strField.substr(uColon + 1));
            auto it = m_headers.find(strName);
            if (it == m_headers.end())
                m_headers[strName] = strValue;
            else
                it->second += ", " + strValue;
        }
        return true;
    }

    // A body is neither expected nor read: the connection then ends.
    bool HasBody() const
    {
        std::string strLength = Header("content-length");
        return !Header("transfer-encoding").empty() || (!strLength.empty() && strLength != "0");
    }

    bool KeepsAlive() const
    {
        std::string strConnection = Header("connection");
        if (HasToken(strConnection, "close") || HasBody())
            return false;
        return m_strVersion == "1.1" || HasToken(strConnection, "keep-alive");
    }
};

struct CInspectorServer::CAnswer {
    guint m_uStatus = 200;
    std::string m_strVersion = "1.1";
    std::string m_strType = TEXT;
    std::string m_strBody;
    std::vector<std::pair<std::string, std::string>> m_fields;
    bool m_bBody = true;  // false for HEAD
    bool m_bClose = true;
    bool m_bUpgrade = false;

    CAnswer(guint uStatus, const std::string& strBody) : m_uStatus(uStatus), m_strBody(strBody) {}

    std::string Text() const
    {
        std::string strText = "HTTP/" + m_strVersion + " " + std::to_string(m_uStatus) + " " +
                              ReasonOf(m_uStatus) + "\r\nServer: kite\r\n";
        for (const auto& field : m_fields)
            strText += field.first + ": " + field.second + "\r\n";
        if (!m_bUpgrade) {
            strText += "Content-Type: " + m_strType + "\r\nContent-Length: " + std::to_string(m_strBody.size()) +
                       "\r\nConnection: " + (m_bClose ? "close" : "keep-alive") + "\r\n";
        }
        return strText + "\r\n" + (m_bBody && !m_bUpgrade ? m_strBody : std::string());
    }
};

// One HTTP connection, until it ends or becomes a client's WebSocket.
struct CInspectorServer::CPeer {
    CPeer(CInspectorServer* pServer, GSocketConnection* pConnection) : m_pServer(pServer), m_pConnection(pConnection) {}

    CInspectorServer* m_pServer;
    GSocketConnection* m_pConnection;
    GSource* m_pWatch = nullptr;  // for input or for room to write, whichever it waits for
    GSource* m_pLinger = nullptr;
    std::string m_strIn;
    std::string m_strOut;
    std::string m_strUpgradePath;
    bool m_bEnded = false;  // it sends nothing more
    bool m_bCloseAfterOut = false;
    bool m_bUpgradeAfterOut = false;
    bool m_bDraining = false;  // its connection ends: what it sends is dropped
};

CInspectorServer::CInspectorServer(CListener& listener, const CTarget& target)
    : m_listener(listener), m_target(target), m_pContext(g_main_context_new())
{
    gchar* pszId = g_uuid_string_random();
    m_strId = pszId;
    g_free(pszId);
    // GLib starts its worker thread, with a descriptor of its own, with the
    // first GTask, which libsoup makes when a WebSocket closes: now, so
    // that kite's descriptors stay as they are from the start.
    g_type_ensure(G_TYPE_TASK);
    g_main_context_acquire(m_pContext);
    m_pBridge = g_source_new(&BRIDGE_FUNCS, sizeof(CBridgeSource));
    CBridgeSource* pBridge = reinterpret_cast<CBridgeSource*>(m_pBridge);
    pBridge->m_pInner = m_pContext;
    pBridge->m_iPriority = G_PRIORITY_DEFAULT;
    pBridge->m_pPolled = new std::vector<GPollFD>;
    pBridge->m_pQuery = new std::vector<GPollFD>;
    g_source_set_name(m_pBridge, "kite inspector");
    g_source_attach(m_pBridge, nullptr);
}

CInspectorServer::~CInspectorServer()
{
    g_main_context_push_thread_default(m_pContext);
    std::map<int, SoupWebsocketConnection*> clients;
    clients.swap(m_clients);
    for (const auto& client : clients) {
        g_signal_handlers_disconnect_by_data(client.second, this);
        soup_websocket_connection_close(client.second, SOUP_WEBSOCKET_CLOSE_GOING_AWAY, nullptr);
    }
    // Clients answer the close at once; one that does not is not waited
    // for long.
    bool bLate = false;
    GSource* pTimeout = g_timeout_source_new(500);
    g_source_set_callback(pTimeout, DoNothing, &bLate, SetFlag);
    g_source_attach(pTimeout, m_pContext);
    for (const auto& client : clients) {
        while (!bLate && soup_websocket_connection_get_state(client.second) != SOUP_WEBSOCKET_STATE_CLOSED)
            g_main_context_iteration(m_pContext, TRUE);
        g_object_unref(client.second);
    }
    g_source_destroy(pTimeout);
    g_source_unref(pTimeout);
    while (!m_peers.empty())
        ClosePeer(*m_peers.back());
    if (m_pService != nullptr) {
        g_socket_service_stop(m_pService);
        g_socket_listener_close(G_SOCKET_LISTENER(m_pService));
        g_object_unref(m_pService);
    }
    for (int i = 0; i < 100 && g_main_context_iteration(m_pContext, FALSE); ++i) {
    }
    g_main_context_pop_thread_default(m_pContext);
    g_source_destroy(m_pBridge);
    g_source_unref(m_pBridge);
    g_main_context_release(m_pContext);
    g_main_context_unref(m_pContext);
}

bool CInspectorServer::Listen(const std::string& strHost, int iPort, std::string& strError)
{
    GInetAddress* pAddress = strHost == "localhost" ? g_inet_address_new_loopback(G_SOCKET_FAMILY_IPV4)
                                                     : g_inet_address_new_from_string(strHost.c_str());
    if (pAddress == nullptr) {
        strError = "--inspect: '" + strHost + "' is neither an IP address nor localhost";
        return false;
    }
    m_bLoopback = g_inet_address_get_is_loopback(pAddress);
    bool bIPv6 = g_inet_address_get_family(pAddress) == G_SOCKET_FAMILY_IPV6;
    GSocketAddress* pSocketAddress = g_inet_socket_address_new(pAddress, static_cast<guint16>(iPort));
    g_object_unref(pAddress);

    // The service accepts on the context that is the thread's default now.
    g_main_context_push_thread_default(m_pContext);
    m_pService = g_socket_service_new();
    g_signal_connect(m_pService, "incoming", G_CALLBACK(OnIncoming), this);
    GError* pError = nullptr;
    GSocketAddress* pBound = nullptr;
    bool bListening = g_socket_listener_add_address(G_SOCKET_LISTENER(m_pService), pSocketAddress, G_SOCKET_TYPE_STREAM,
                                                    G_SOCKET_PROTOCOL_TCP, nullptr, &pBound, &pError);
    g_main_context_pop_thread_default(m_pContext);
    g_object_unref(pSocketAddress);
    if (!bListening) {
        strError = "--inspect: cannot listen on " + strHost + ":" + std::to_string(iPort) + ": " + pError->message;
        g_error_free(pError);
        return false;
    }
    int iBound = g_inet_socket_address_get_port(G_INET_SOCKET_ADDRESS(pBound));
    g_object_unref(pBound);
    m_strAddress = (bIPv6 ? "[" + strHost + "]" : strHost) + ":" + std::to_string(iBound);
    return true;
}

std::string CInspectorServer::WebSocketUrl() const
{
    return "ws://" + m_strAddress + "/" + m_strId;
}

std::string CInspectorServer::FrontendUrl() const
{
    return "devtools://devtools/bundled/js_app.html?experiments=true&v8only=true&ws=" + m_strAddress + "/" +
           m_strId;
}

void CInspectorServer::Send(int iClient, const std::string& strText)
{
    auto it = m_clients.find(iClient);
    if (it == m_clients.end() || soup_websocket_connection_get_state(it->second) != SOUP_WEBSOCKET_STATE_OPEN)
        return;
    g_main_context_push_thread_default(m_pContext);
    soup_websocket_connection_send_text(it->second, strText.c_str());
    g_main_context_pop_thread_default(m_pContext);
}

void CInspectorServer::Post(GSourceFunc fn, void* pData)
{
    GSource* pSource = g_idle_source_new();
    g_source_set_callback(pSource, fn, pData, nullptr);
    g_source_attach(pSource, m_pContext);
    g_source_unref(pSource);
}

void CInspectorServer::ServeOnce()
{
    g_main_context_push_thread_default(m_pContext);
    g_main_context_iteration(m_pContext, TRUE);
    g_main_context_pop_thread_default(m_pContext);
}

gboolean CInspectorServer::OnIncoming(GSocketService*, GSocketConnection* pConnection, GObject*, gpointer pThis)
{
    CInspectorServer* pServer = static_cast<CInspectorServer*>(pThis);
    pServer->m_peers.emplace_back(new CPeer(pServer, G_SOCKET_CONNECTION(g_object_ref(pConnection))));
    pServer->WatchInput(*pServer->m_peers.back());
    return TRUE;
}

gboolean CInspectorServer::OnPeerReadable(GObject* pStream, gpointer pPeer)
{
    CPeer& peer = *static_cast<CPeer*>(pPeer);
    peer.m_pWatch = nullptr;
    char aBuffer[READ_SIZE];
    bool bFailed = false;
    // Enough to tell a head too large, and no more.
    while (!peer.m_bEnded && (peer.m_bDraining || peer.m_strIn.size() <= HEAD_LIMIT)) {
        GError* pError = nullptr;
        gssize iRead = g_pollable_input_stream_read_nonblocking(G_POLLABLE_INPUT_STREAM(pStream), aBuffer,
                                                                sizeof aBuffer, nullptr, &pError);
        if (iRead < 0) {
            bFailed = !g_error_matches(pError, G_IO_ERROR, G_IO_ERROR_WOULD_BLOCK);
            g_error_free(pError);
            break;
        }
        if (iRead == 0)
            peer.m_bEnded = true;
        else if (!peer.m_bDraining)
            peer.m_strIn.append(aBuffer, static_cast<std::size_t>(iRead));
    }
    if (bFailed || (peer.m_bDraining && peer.m_bEnded))
        peer.m_pServer->ClosePeer(peer);
    else if (peer.m_bDraining)
        peer.m_pServer->WatchInput(peer);
    else
        peer.m_pServer->Serve(peer);
    return G_SOURCE_REMOVE;
}

gboolean CInspectorServer::OnPeerWritable(GObject*, gpointer pPeer)
{
    CPeer& peer = *static_cast<CPeer*>(pPeer);
    peer.m_pWatch = nullptr;
    peer.m_pServer->Serve(peer);
    return G_SOURCE_REMOVE;
}

gboolean CInspectorServer::OnLingerOver(gpointer pPeer)
{
    CPeer& peer = *static_cast<CPeer*>(pPeer);
    peer.m_pLinger = nullptr;
    peer.m_pServer->ClosePeer(peer);
    return G_SOURCE_REMOVE;
}

void CInspectorServer::Serve(CPeer& peer)
{
    for (;;) {
        // Unless it waits for room to write, or has ended.
        if (!peer.m_strOut.empty() && !Flush(peer))
            return;
        if (peer.m_bUpgradeAfterOut) {
            Upgrade(peer);
            return;
        }
        if (peer.m_bCloseAfterOut) {
            if (peer.m_bEnded) {
                ClosePeer(peer);
                return;
            }
            // The end of the answer, then what it still sends is read and
            // dropped for a while.
            g_socket_shutdown(g_socket_connection_get_socket(peer.m_pConnection), FALSE, TRUE, nullptr);
            peer.m_bDraining = true;
            peer.m_strIn.clear();
            peer.m_pLinger = g_timeout_source_new(LINGER_MS);
            g_source_set_callback(peer.m_pLinger, OnLingerOver, &peer, nullptr);
            g_source_attach(peer.m_pLinger, m_pContext);
            g_source_unref(peer.m_pLinger);
            WatchInput(peer);
            return;
        }
        std::string::size_type uEnd = peer.m_strIn.find("\r\n\r\n");
        if (uEnd == std::string::npos && peer.m_strIn.size() <= HEAD_LIMIT) {
            if (!peer.m_bEnded) {
                WatchInput(peer);
                return;
            }
            if (peer.m_strIn.empty()) {
                ClosePeer(peer);
                return;
            }
            CAnswer answer(400, "kite: the request was cut short\n");
            answer.m_strVersion = AnswerVersionOf(peer.m_strIn);
            peer.m_strIn.clear();
            Queue(peer, answer);
            continue;
        }
        if (uEnd == std::string::npos || uEnd + 4 > HEAD_LIMIT) {
            CAnswer answer(431, "kite: the inspector takes requests whose line and headers come to " +
                                    std::to_string(HEAD_LIMIT / 1024) + " KiB at most\n");
            answer.m_strVersion = AnswerVersionOf(peer.m_strIn);
            peer.m_strIn.clear();
            Queue(peer, answer);
            continue;
        }
        std::string strHead = peer.m_strIn.substr(0, uEnd);
        peer.m_strIn.erase(0, uEnd + 4);
        CRequest request;
        guint uRefusal = 0;
        if (!request.Parse(strHead, uRefusal)) {
            CAnswer answer(uRefusal, uRefusal == 505 ? "kite: the inspector speaks HTTP/1.0 and HTTP/1.1\n"
                                                     : "kite: the inspector could not read that request\n");
            answer.m_strVersion = uRefusal == 505 ? "1.0" : AnswerVersionOf(strHead + "\r\n");
            Queue(peer, answer);
            continue;
        }
        CAnswer answer = AnswerTo(request);
        // A client's first frames come after the handshake's answer, never
        // with its request.
        if (answer.m_bUpgrade && !peer.m_strIn.empty())
            answer = CAnswer(400, "kite: data came before the WebSocket handshake was answered\n");
        answer.m_strVersion = request.m_strVersion;
        answer.m_bBody = request.m_strMethod != "HEAD";
        if (peer.m_bEnded)
            answer.m_bClose = true;
        if (answer.m_bUpgrade)
            peer.m_strUpgradePath = request.m_strPath;
        Queue(peer, answer);
    }
}

CInspectorServer::CAnswer CInspectorServer::AnswerTo(const CRequest& request) const
{
    std::string strHost = request.Header("host");
    if (!strHost.empty() && !IsAllowedHost(strHost))
        return CAnswer(403, "kite: refused the Host \"" + strHost +
                                "\": the inspector answers only requests for an IP address or localhost\n");
    const std::string& strPath = request.m_strPath;
    if (strPath == "/" + m_strId) {
        if (!HasToken(request.Header("upgrade"), "websocket") || !HasToken(request.Header("connection"), "upgrade") ||
            request.m_strMethod != "GET" || request.m_strVersion != "1.1")
            return CAnswer(400, "kite: this address takes a WebSocket handshake\n");
        if (request.Header("sec-websocket-version") != "13") {
            CAnswer answer(400, "kite: the inspector speaks WebSocket version 13\n");
            answer.m_fields.emplace_back("Sec-WebSocket-Version", "13");
            return answer;
        }
        std::string strKey = request.Header("sec-websocket-key");
        if (!IsWebSocketKey(strKey))
            return CAnswer(400, "kite: the WebSocket handshake has no usable Sec-WebSocket-Key\n");
        CAnswer answer(101, std::string());
        answer.m_bUpgrade = true;
        answer.m_bClose = false;
        answer.m_fields = {{"Upgrade", "websocket"}, {"Connection", "Upgrade"},
                           {"Sec-WebSocket-Accept", WebSocketAcceptOf(strKey)}};
        return answer;
    }
    if (strPath != "/json" && strPath != "/json/list" && strPath != "/json/version")
        return CAnswer(404, "kite: the inspector answers /json, /json/list, /json/version and its WebSocket\n");
    // The address as the client reached it, which may be a name of ours.
    CAnswer answer(200, DiscoveryJson(strPath, strHost.empty() ? m_strAddress : strHost));
    answer.m_strType = "application/json; charset=UTF-8";
    answer.m_bClose = !request.KeepsAlive();
    return answer;
}

void CInspectorServer::Queue(CPeer& peer, const CAnswer& answer)
{
    peer.m_strOut += answer.Text();
    peer.m_bCloseAfterOut = answer.m_bClose;
    peer.m_bUpgradeAfterOut = answer.m_bUpgrade;
}

bool CInspectorServer::Flush(CPeer& peer)
{
    GPollableOutputStream* pOut =
        G_POLLABLE_OUTPUT_STREAM(g_io_stream_get_output_stream(G_IO_STREAM(peer.m_pConnection)));
    while (!peer.m_strOut.empty()) {
        GError* pError = nullptr;
        gssize iWritten = g_pollable_output_stream_write_nonblocking(pOut, peer.m_strOut.data(), peer.m_strOut.size(),
                                                                     nullptr, &pError);
        if (iWritten < 0) {
            bool bWait = g_error_matches(pError, G_IO_ERROR, G_IO_ERROR_WOULD_BLOCK);
            g_error_free(pError);
            if (!bWait) {
                ClosePeer(peer);
                return false;
            }
            peer.m_pWatch = g_pollable_output_stream_create_source(pOut, nullptr);
            g_source_set_callback(peer.m_pWatch, G_SOURCE_FUNC(OnPeerWritable), &peer, nullptr);
            g_source_attach(peer.m_pWatch, m_pContext);
            g_source_unref(peer.m_pWatch);
            return false;
        }
        peer.m_strOut.erase(0, static_cast<std::size_t>(iWritten));
    }
    return true;
}

void CInspectorServer::WatchInput(CPeer& peer)
{
    GPollableInputStream* pIn =
        G_POLLABLE_INPUT_STREAM(g_io_stream_get_input_stream(G_IO_STREAM(peer.m_pConnection)));
    peer.m_pWatch = g_pollable_input_stream_create_source(pIn, nullptr);
    g_source_set_callback(peer.m_pWatch, G_SOURCE_FUNC(OnPeerReadable), &peer, nullptr);
    g_source_attach(peer.m_pWatch, m_pContext);
    g_source_unref(peer.m_pWatch);
}

void CInspectorServer::Upgrade(CPeer& peer)
{
    GIOStream* pStream = G_IO_STREAM(g_object_ref(peer.m_pConnection));
    std::string strUrl = "ws://" + m_strAddress + peer.m_strUpgradePath;
    GUri* pUri = g_uri_parse(strUrl.c_str(), G_URI_FLAGS_NONE, nullptr);
    // The peer goes; its connection is the WebSocket's now.
    peer.m_pConnection = nullptr;
    ClosePeer(peer);
    g_main_context_push_thread_default(m_pContext);
    SoupWebsocketConnection* pConnection =
        soup_websocket_connection_new(pStream, pUri, SOUP_WEBSOCKET_CONNECTION_SERVER, nullptr, nullptr, nullptr);
    g_main_context_pop_thread_default(m_pContext);
    g_object_unref(pStream);
    if (pUri != nullptr)
        g_uri_unref(pUri);
    int iClient = ++m_iLastClient;
    m_clients[iClient] = pConnection;
    // A source pasted into the client's console may be large.
    soup_websocket_connection_set_max_incoming_payload_size(pConnection, 0);
    g_signal_connect(pConnection, "message", G_CALLBACK(OnClientMessage), this);
    g_signal_connect(pConnection, "closed", G_CALLBACK(OnClientClosed), this);
    m_listener.OnAttach(iClient);
}

void CInspectorServer::ClosePeer(CPeer& peer)
{
    if (peer.m_pWatch != nullptr)
        g_source_destroy(peer.m_pWatch);
    if (peer.m_pLinger != nullptr)
        g_source_destroy(peer.m_pLinger);
    if (peer.m_pConnection != nullptr) {
        g_io_stream_close(G_IO_STREAM(peer.m_pConnection), nullptr, nullptr);
        g_object_unref(peer.m_pConnection);
    }
    for (auto it = m_peers.begin(); it != m_peers.end(); ++it) {
        if (it->get() == &peer) {
            m_peers.erase(it);
            break;
        }
    }
}

std::string CInspectorServer::DiscoveryJson(const std::string& strPath, const std::string& strAddress) const
{
    Json::Value body;
    if (strPath == "/json/version") {
        body["Browser"] = "kite";
        body["Protocol-Version"] = "1.3";
        body["V8-Version"] = m_target.m_strV8Version;
    } else {
        Json::Value target;
        target["description"] = "kite";
        target["devtoolsFrontendUrl"] =
            "devtools://devtools/bundled/js_app.html?experiments=true&v8only=true&ws=" + strAddress + "/" + m_strId;
        target["id"] = m_strId;
        target["title"] = m_target.m_strTitle;
        // What Chrome opens with its JavaScript-only front end.
        target["type"] = "node";
        target["url"] = m_target.m_strUrl;
        target["webSocketDebuggerUrl"] = "ws://" + strAddress + "/" + m_strId;
        body.append(target);
    }
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "  ";
    return Json::writeString(writer, body) + "\n";
}

void CInspectorServer::OnClientMessage(SoupWebsocketConnection* pConnection, gint iType, GBytes* pBytes,
                                       gpointer pThis)
{
    if (iType != SOUP_WEBSOCKET_DATA_TEXT) {
        soup_websocket_connection_close(pConnection, SOUP_WEBSOCKET_CLOSE_UNSUPPORTED_DATA,
                                        "kite: the inspector's protocol is JSON in text frames");
        return;
    }
    CInspectorServer* pServer = static_cast<CInspectorServer*>(pThis);
    gsize uSize = 0;
    const char* pData = static_cast<const char*>(g_bytes_get_data(pBytes, &uSize));
    pServer->m_listener.OnMessage(pServer->ClientOf(pConnection), std::string(pData, uSize));
}

void CInspectorServer::OnClientClosed(SoupWebsocketConnection* pConnection, gpointer pThis)
{
    CInspectorServer* pServer = static_cast<CInspectorServer*>(pThis);
    int iClient = pServer->ClientOf(pConnection);
    pServer->DropClient(iClient);
    pServer->m_listener.OnDetach(iClient);
}

int CInspectorServer::ClientOf(SoupWebsocketConnection* pConnection) const
{
    for (const auto& client : m_clients) {
        if (client.second == pConnection)
            return client.first;
    }
    return 0;
}

void CInspectorServer::DropClient(int iClient)
{
    SoupWebsocketConnection* pClient = m_clients.at(iClient);
    m_clients.erase(iClient);
    g_signal_handlers_disconnect_by_data(pClient, this);
    // Released once its own signal is over.
    GSource* pSource = g_idle_source_new();
    g_source_set_callback(pSource, DoNothing, pClient, g_object_unref);
    g_source_attach(pSource, m_pContext);
    g_source_unref(pSource);
}

}  // namespace Kite
