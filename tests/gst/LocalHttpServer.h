// A small HTTP server on the loopback address that serves one file to every
// GET, whatever range was asked for, and keeps the request headers it got.
#ifndef CINECAST_TESTS_LOCAL_HTTP_SERVER_H
#define CINECAST_TESTS_LOCAL_HTTP_SERVER_H

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

class CLocalHttpServer {
public:
    explicit CLocalHttpServer(const std::string& strFile)
    {
        std::ostringstream body;
        body << std::ifstream(strFile, std::ios::binary).rdbuf();
        m_strBody = body.str();
        m_iListener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t uLength = sizeof(address);
        sockaddr* pAddress = reinterpret_cast<sockaddr*>(&address);
        if (m_iListener >= 0 && bind(m_iListener, pAddress, uLength) == 0 && listen(m_iListener, 8) == 0 &&
            getsockname(m_iListener, pAddress, &uLength) == 0) {
            m_iPort = ntohs(address.sin_port);
            m_thread = std::thread([this] { Serve(); });
        }
    }

    ~CLocalHttpServer()
    {
        m_bStopping.store(true);
        if (m_thread.joinable())
            m_thread.join();
        if (m_iListener >= 0)
            close(m_iListener);
    }

    bool IsListening() const { return m_iPort != 0; }
    std::string Url(const std::string& strName) const
    {
        return "http://127.0.0.1:" + std::to_string(m_iPort) + "/" + strName;
    }
    // The requests so far, each its header block as received.
    std::vector<std::string> Requests() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_aRequests;
    }

private:
    void Serve()
    {
        while (!m_bStopping.load()) {
            pollfd waiting{m_iListener, POLLIN, 0};
            int iConnection = poll(&waiting, 1, 50) > 0 ? accept(m_iListener, nullptr, nullptr) : -1;
            if (iConnection >= 0) {
                Answer(iConnection);
                close(iConnection);
            }
        }
    }

    // One request per connection.
    void Answer(int iConnection)
    {
        std::string strRequest;
        char aBuffer[1024];
        while (strRequest.find("\r\n\r\n") == std::string::npos && strRequest.size() < 16384) {
            pollfd readable{iConnection, POLLIN, 0};
            ssize_t iRead = poll(&readable, 1, 1000) > 0 ? read(iConnection, aBuffer, sizeof(aBuffer)) : -1;
            if (iRead <= 0)
                return;
            strRequest.append(aBuffer, static_cast<std::size_t>(iRead));
        }
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_aRequests.push_back(strRequest);
        }
        std::string strResponse = "HTTP/1.1 200 OK\r\nContent-Type: audio/x-wav\r\nContent-Length: " +
                                  std::to_string(m_strBody.size()) + "\r\nConnection: close\r\n\r\n" + m_strBody;
        for (std::size_t uSent = 0; uSent < strResponse.size() && !m_bStopping.load();) {
            ssize_t iWritten = send(iConnection, strResponse.data() + uSent, strResponse.size() - uSent, MSG_NOSIGNAL);
            if (iWritten <= 0)
                return;
            uSent += static_cast<std::size_t>(iWritten);
        }
    }

    std::string m_strBody;
    int m_iListener = -1;
    int m_iPort = 0;
    std::atomic<bool> m_bStopping{false};
    mutable std::mutex m_lock;
    std::vector<std::string> m_aRequests;
    std::thread m_thread;
};

#endif
