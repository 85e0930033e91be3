// Network media from a server on the loopback address, with the user agent
// set as a streaming property.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "GstAdapterFixture.h"

namespace {

// Serves the tone to every request with the user agent set below, whatever
// range it asks for, and forbids it to others. It outlives the adapter,
// which the fixture deletes first.
class GstNetworkTest : public GstAdapterTest {
protected:
    GstNetworkTest()
    {
        std::ostringstream body;
        body << std::ifstream(TETHER_GST_TEST_TONE, std::ios::binary).rdbuf();
        m_strResponse = "HTTP/1.1 200 OK\r\nContent-Type: audio/x-wav\r\nContent-Length: " +
                        std::to_string(body.str().size()) + "\r\nConnection: close\r\n\r\n" + body.str();
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t uLength = sizeof(address);
        if (bind(m_iListener, reinterpret_cast<sockaddr*>(&address), uLength) == 0 && listen(m_iListener, 8) == 0 &&
            getsockname(m_iListener, reinterpret_cast<sockaddr*>(&address), &uLength) == 0)
            m_strUrl = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/tone.wav";
        m_server = std::thread([this] { Serve(); });
    }

    ~GstNetworkTest() override
    {
        shutdown(m_iListener, SHUT_RDWR);  // wakes the accept
        m_server.join();
        close(m_iListener);
    }

    std::string m_strUrl;  // empty when the server could not listen

private:
    void Serve()
    {
        for (int iConnection; (iConnection = accept(m_iListener, nullptr, nullptr)) >= 0; close(iConnection)) {
            std::string strRequest;
            char aBuffer[1024];
            for (ssize_t iRead; strRequest.find("\r\n\r\n") == std::string::npos &&
                                (iRead = read(iConnection, aBuffer, sizeof(aBuffer))) > 0;)
                strRequest.append(aBuffer, static_cast<std::size_t>(iRead));
            const std::string& strResponse = strRequest.find("\r\nUser-Agent: TetherTest/1.0\r\n") != std::string::npos
                                                 ? m_strResponse
                                                 : "HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n";
            send(iConnection, strResponse.data(), strResponse.size(), MSG_NOSIGNAL);
        }
    }

    std::string m_strResponse;
    int m_iListener = socket(AF_INET, SOCK_STREAM, 0);
    std::thread m_server;
};

}  // namespace

TEST_F(GstNetworkTest, NetworkMediaPlaysWithTheUserAgentSet)
{
    ASSERT_FALSE(m_strUrl.empty());
    EXPECT_FALSE(m_pAdapter->setStreamingProperty("REFERER", "x"));
    ASSERT_TRUE(m_pAdapter->setStreamingProperty("USER_AGENT", "TetherTest/1.0"));
    ASSERT_TRUE(m_pAdapter->create() && m_pAdapter->setUri(m_strUrl));
    ASSERT_TRUE(m_pAdapter->prepare()) << Events(KITE_BRIDGE_ERROR_EVENT).at(0).m_event.param1;
    unsigned long ulDuration = 0;
    ASSERT_TRUE(m_pAdapter->GetDuration(&ulDuration));
    EXPECT_NEAR(static_cast<double>(ulDuration), 3000.0, 1.0);
    ASSERT_TRUE(m_pAdapter->play());
    EXPECT_TRUE(WaitFor(KITE_BRIDGE_CURRENT_TIME, 2, 1000ms));
}
