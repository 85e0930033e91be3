// The inspector's network side: the discovery endpoints that DevTools
// clients ask first, on HTTP/1.1 connections that stay open as Node's do,
// and the WebSockets of the attached clients (libsoup's), all on a main
// context of their own. The main loop serves that context too, so that
// while the script is paused it can be served alone.
#ifndef KITE_INSPECTOR_SERVER_H
#define KITE_INSPECTOR_SERVER_H

#include <gio/gio.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

    struct CPeer;
    struct CRequest;
    struct CAnswer;

    static gboolean OnIncoming(GSocketService*, GSocketConnection* pConnection, GObject*, gpointer pThis);
    static gboolean OnPeerReadable(GObject*, gpointer pPeer);
    static gboolean OnPeerWritable(GObject*, gpointer pPeer);
    static gboolean OnLingerOver(gpointer pPeer);
    static void OnClientMessage(SoupWebsocketConnection* pConnection, gint iType, GBytes* pBytes, gpointer pThis);
    static void OnClientClosed(SoupWebsocketConnection* pConnection, gpointer pThis);

    // What a peer's input holds so far: answered, waited for, or refused.
    void Serve(CPeer& peer);
    CAnswer AnswerTo(const CRequest& request) const;
    void Queue(CPeer& peer, const CAnswer& answer);
    // False when it waits for room to write, or the peer has gone.
    bool Flush(CPeer& peer);
    void WatchInput(CPeer& peer);
    void Upgrade(CPeer& peer);
    void ClosePeer(CPeer& peer);
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
    GSocketService* m_pService = nullptr;
    std::vector<std::unique_ptr<CPeer>> m_peers;
    std::map<int, SoupWebsocketConnection*> m_clients;
    int m_iLastClient = 0;
};

}  // namespace Kite

#endif
