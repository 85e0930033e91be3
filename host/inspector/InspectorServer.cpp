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

// Each answer closes its connection: libsoup 3.2 never notices a client
// closing an idle kept-alive one, whose socket then stays open, and
// chrome://inspect asks every second.
void Answer(SoupServerMessage* pMessage, guint uStatus, const char* pszType, const std::string& strBody)
{
    soup_message_headers_replace(soup_server_message_get_response_headers(pMessage), "Connection", "close");
    soup_server_message_set_status(pMessage, uStatus, nullptr);
    soup_server_message_set_response(pMessage, pszType, SOUP_MEMORY_COPY, strBody.data(), strBody.size());
}

const char* RequestHost(SoupServerMessage* pMessage)
{
    return soup_message_headers_get_one(soup_server_message_get_request_headers(pMessage), "Host");
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
    if (m_pServer != nullptr) {
        soup_server_disconnect(m_pServer);
        g_object_unref(m_pServer);
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

    g_main_context_push_thread_default(m_pContext);
    m_pServer = soup_server_new("server-header", "kite", nullptr);
    GError* pError = nullptr;
    bool bListening = soup_server_listen(m_pServer, pSocketAddress, static_cast<SoupServerListenOptions>(0), &pError);
    g_main_context_pop_thread_default(m_pContext);
    g_object_unref(pSocketAddress);
    if (!bListening) {
        strError = "--inspect: cannot listen on " + strHost + ":" + std::to_string(iPort) + ": " + pError->message;
        g_error_free(pError);
        return false;
    }

    GSList* pUris = soup_server_get_uris(m_pServer);
    int iBound = pUris != nullptr ? g_uri_get_port(static_cast<GUri*>(pUris->data)) : iPort;
    g_slist_free_full(pUris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
    m_strAddress = (bIPv6 ? "[" + strHost + "]" : strHost) + ":" + std::to_string(iBound);

    std::string strPath = "/" + m_strId;
    g_signal_connect(m_pServer, "request-read", G_CALLBACK(OnRequestRead), this);
    soup_server_add_handler(m_pServer, nullptr, OnDiscovery, this, nullptr);
    soup_server_add_websocket_handler(m_pServer, strPath.c_str(), nullptr, nullptr, OnWebSocket, this, nullptr);
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

void CInspectorServer::OnRequestRead(SoupServer*, SoupServerMessage* pMessage, gpointer)
{
    const char* pszHost = RequestHost(pMessage);
    if (pszHost != nullptr && !IsAllowedHost(pszHost))
        Answer(pMessage, SOUP_STATUS_FORBIDDEN, "text/plain; charset=UTF-8",
               std::string("kite: refused the Host \"") + pszHost +
                   "\": the inspector answers only requests for an IP address or localhost\n");
}

void CInspectorServer::OnDiscovery(SoupServer*, SoupServerMessage* pMessage, const char* pszPath, GHashTable*,
                                   gpointer pThis)
{
    std::string strPath = pszPath;
    if (strPath != "/json" && strPath != "/json/list" && strPath != "/json/version") {
        Answer(pMessage, SOUP_STATUS_NOT_FOUND, "text/plain; charset=UTF-8",
               "kite: the inspector answers /json, /json/list, /json/version and its WebSocket\n");
        return;
    }
    const CInspectorServer* pServer = static_cast<const CInspectorServer*>(pThis);
    // The address as the client reached it, which may be a name of ours.
    const char* pszHost = RequestHost(pMessage);
    Answer(pMessage, SOUP_STATUS_OK, "application/json; charset=UTF-8",
           pServer->DiscoveryJson(strPath, pszHost != nullptr ? pszHost : pServer->m_strAddress));
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

void CInspectorServer::OnWebSocket(SoupServer*, SoupServerMessage*, const char*,
                                   SoupWebsocketConnection* pConnection, gpointer pThis)
{
    CInspectorServer* pServer = static_cast<CInspectorServer*>(pThis);
    int iClient = ++pServer->m_iLastClient;
    pServer->m_clients[iClient] = SOUP_WEBSOCKET_CONNECTION(g_object_ref(pConnection));
    // A source pasted into the client's console may be large.
    soup_websocket_connection_set_max_incoming_payload_size(pConnection, 0);
    g_signal_connect(pConnection, "message", G_CALLBACK(OnClientMessage), pServer);
    g_signal_connect(pConnection, "closed", G_CALLBACK(OnClientClosed), pServer);
    pServer->m_listener.OnAttach(iClient);
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
