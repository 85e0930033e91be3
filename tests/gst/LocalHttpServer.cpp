#include "LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

CLocalHttpServer::CLocalHttpServer(const std::string& strFile)
{
    std::ifstream file(strFile, std::ios::binary);
    std::ostringstream body;
    body << file.rdbuf();
    m_strBody = body.str();

    int iListener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t uLength = sizeof(address);
    if (iListener < 0 || bind(iListener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(iListener, 8) != 0 || getsockname(iListener, reinterpret_cast<sockaddr*>(&address), &uLength) != 0) {
        if (iListener >= 0)
            close(iListener);
        return;
    }
    m_iListener = iListener;
    m_iPort = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

CLocalHttpServer::~CLocalHttpServer()
{
    m_bStopping.store(true);
    if (m_thread.joinable())
        m_thread.join();
    if (m_iListener >= 0)
        close(m_iListener);
}

std::string CLocalHttpServer::Url(const std::string& strName) const
{
    return "http://127.0.0.1:" + std::to_string(m_iPort) + "/" + strName;
}

std::vector<std::string> CLocalHttpServer::Requests() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_aRequests;
}

void CLocalHttpServer::Serve()
{
    while (!m_bStopping.load()) {
        pollfd waiting{m_iListener, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0)
            continue;
        int iConnection = accept(m_iListener, nullptr, nullptr);
        if (iConnection < 0)
            continue;
        Answer(iConnection);
        close(iConnection);
    }
}

// One request per connection; the whole file, whatever range was asked for.
void CLocalHttpServer::Answer(int iConnection)
{
    std::string strRequest;
    char aBuffer[1024];
    while (strRequest.find("\r\n\r\n") == std::string::npos && strRequest.size() < 16384) {
        pollfd readable{iConnection, POLLIN, 0};
        if (poll(&readable, 1, 1000) <= 0)
            return;
        ssize_t iRead = read(iConnection, aBuffer, sizeof(aBuffer));
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
    std::size_t uSent = 0;
    while (uSent < strResponse.size() && !m_bStopping.load()) {
        ssize_t iWritten = send(iConnection, strResponse.data() + uSent, strResponse.size() - uSent, MSG_NOSIGNAL);
        if (iWritten <= 0)
            return;
        uSent += static_cast<std::size_t>(iWritten);
    }
}
