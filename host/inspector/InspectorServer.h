// The inspector's network side: the discovery endpoints that DevTools
// clients ask first, and the WebSockets of the attached clients, served by
// libsoup on a main context of their own. The main loop serves that context
// too, so that while the script is paused it can be served alone.
#ifndef KITE_INSPECTOR_SERVER_H
#define KITE_INSPECTOR_SERVER_H

#include <glib.h>
#include <map>
#include <string>

typedef struct _SoupServer SoupServer;
typedef struct _SoupServerMessage SoupServerMessage;
typedef struct _SoupWebsocketConnection SoupWebsocketConnection;

namespace Kite {

class CInspectorServer {
public:
    // Clients are told apart by a number that is never used again.
    class CListener {
    public:
        virtual void OnAttach(int iClient) = 0;
        virtual void OnMessage(int iClient, std::string strMessage) = 0;
        virtual void OnDetach(int iClient) = 0;

    protected:
        ~CListener() = default;
    };

    // What the discovery endpoints tell about the script.
    struct CTarget {
        std::string m_strTitle;
        std::string m_strUrl;
        std::string m_strV8Version;
    };

    CInspectorServer(CListener& listener, const CTarget& target);
    ~CInspectorServer();

    // HOST is an IP address or localhost; port 0 picks a free one.
    bool Listen(const std::string& strHost, int iPort, std::string& strError);
    bool IsLoopback() const { return m_bLoopback; }
    // HOST:PORT as clients reach it, with the port actually bound.
    const std::string& Address() const { return m_strAddress; }
    std::string WebSocketUrl() const;
    std::string FrontendUrl() const;

    bool Attached() const { return !m_clients.empty(); }
    void Send(int iClient, const std::string& strText);
    // Calls fn(pData) soon from the inspector's own context.
    void Post(GSourceFunc fn, void* pData);
    // Waits for, and handles, the inspector's next network event, and
    // nothing else: the main loop's timers and events wait meanwhile.
    void ServeOnce();
    GMainContext* Context() const { return m_pContext; }

private:
    CInspectorServer(const CInspectorServer&) = delete;
    CInspectorServer& operator=(const CInspectorServer&) = delete;

    static void OnRequestRead(SoupServer*, SoupServerMessage* pMessage, gpointer pThis);
    static void OnDiscovery(SoupServer*, SoupServerMessage* pMessage, const char* pszPath, GHashTable*,
                            gpointer pThis);
    static void OnWebSocket(SoupServer*, SoupServerMessage*, const char*, SoupWebsocketConnection* pConnection,
                            gpointer pThis);
    static void OnClientMessage(SoupWebsocketConnection* pConnection, gint iType, GBytes* pBytes, gpointer pThis);
    static void OnClientClosed(SoupWebsocketConnection* pConnection, gpointer pThis);

    std::string DiscoveryJson(const std::string& strPath, const std::string& strAddress) const;
    int ClientOf(SoupWebsocketConnection* pConnection) const;
    void DropClient(int iClient);

    CListener& m_listener;
    CTarget m_target;
    std::string m_strId;
    std::string m_strAddress;
    bool m_bLoopback = true;
    GMainContext* m_pContext;
    GSource* m_pBridge = nullptr;
    SoupServer* m_pServer = nullptr;
    std::map<int, SoupWebsocketConnection*> m_clients;
    int m_iLastClient = 0;
};

}  // namespace Kite

#endif
