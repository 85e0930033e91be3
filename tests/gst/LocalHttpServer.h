// A small HTTP server on the loopback address that serves one file to every
// GET and keeps the request headers it received.
#ifndef CINECAST_TESTS_LOCAL_HTTP_SERVER_H
#define CINECAST_TESTS_LOCAL_HTTP_SERVER_H

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CLocalHttpServer {
public:
    explicit CLocalHttpServer(const std::string& strFile);
    ~CLocalHttpServer();

    bool IsListening() const { return m_iListener >= 0; }
    // http://127.0.0.1:PORT/NAME
    std::string Url(const std::string& strName) const;
    // The requests so far, each its header block as received.
    std::vector<std::string> Requests() const;

private:
    void Serve();
    void Answer(int iConnection);

    std::string m_strBody;
    int m_iListener = -1;
    int m_iPort = 0;
    std::atomic<bool> m_bStopping{false};
    mutable std::mutex m_lock;
    std::vector<std::string> m_aRequests;
    std::thread m_thread;
};

#endif
