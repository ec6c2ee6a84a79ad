#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

// A port of 127.0.0.1 that first has nothing listening, like a server that
// is down, and on up() forwards every connection to the target port, like
// the server come back. The window under test keeps one setting throughout.
class ServerRelay {
public:
    explicit ServerRelay(unsigned targetPort) : target_(targetPort)
    {
        // Take a free port and let it go again: nothing listens there now.
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = loopback(0);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        ::close(fd);
    }
    ~ServerRelay() { down(); }
    ServerRelay(const ServerRelay&) = delete;
    ServerRelay& operator=(const ServerRelay&) = delete;

    unsigned port() const { return port_; }

    // Starts listening; false when the port could not be taken back.
    bool up()
    {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int one = 1;
        ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a = loopback(port_);
        if (::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listen_, 8) != 0)
            return false;
        thread_ = std::thread([this] { loop(); });
        return true;
    }

    // Stops listening and drops the open connections: the server is down.
    void down()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        stop_ = false;
        if (listen_ >= 0)
            ::close(listen_);
        listen_ = -1;
    }

private:
    static sockaddr_in loopback(unsigned port)
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<uint16_t>(port));
        return a;
    }

    void loop()
    {
        std::vector<std::pair<int, int>> pairs; // client, server
        while (!stop_) {
            std::vector<pollfd> fds{{listen_, POLLIN, 0}};
            for (const auto& [c, s] : pairs) {
                fds.push_back({c, POLLIN, 0});
                fds.push_back({s, POLLIN, 0});
            }
            if (::poll(fds.data(), fds.size(), 50) <= 0)
                continue;
            if (fds[0].revents & POLLIN) {
                const int c = ::accept(listen_, nullptr, nullptr);
                const int s = ::socket(AF_INET, SOCK_STREAM, 0);
                sockaddr_in a = loopback(target_);
                if (c >= 0 && ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
                    pairs.emplace_back(c, s);
                } else {
                    ::close(c);
                    ::close(s);
                }
                continue; // fds no longer match pairs
            }
            std::vector<std::pair<int, int>> alive;
            for (size_t i = 0; i < pairs.size(); ++i) {
                const auto [c, s] = pairs[i];
                bool open = true;
                for (int k = 0; k < 2 && open; ++k) {
                    const pollfd& p = fds[1 + 2 * i + k];
                    if (!(p.revents & (POLLIN | POLLHUP | POLLERR)))
                        continue;
                    char buf[16384];
                    const ssize_t n = ::read(p.fd, buf, sizeof buf);
                    open = n > 0 && ::send(p.fd == c ? s : c, buf, size_t(n), MSG_NOSIGNAL) == n;
                }
                if (open) {
                    alive.emplace_back(c, s);
                } else {
                    ::close(c);
                    ::close(s);
                }
            }
            pairs = std::move(alive);
        }
        for (const auto& [c, s] : pairs) {
            ::close(c);
            ::close(s);
        }
    }

    unsigned target_;
    unsigned port_ = 0;
    int listen_ = -1;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
