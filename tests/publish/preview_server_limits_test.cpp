// The preview server under clients that take their time or never finish: none holds a worker
// for long, none keeps the server from stopping, and a file swapped under it never hangs it.
#include <gtest/gtest.h>
#include <httplib.h>
#include <stdio.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "publish/preview_site.h"
#include "publish/raw_http.h"
#include "special_files.h"

namespace publish {
namespace {

using namespace std::chrono_literals;
using test_support::RawConnection;
using test_support::StatusOf;
using Clock = std::chrono::steady_clock;

using PreviewServerLimitsTest = test_support::PreviewSite;

// A client sending its head one byte a second is dropped within a few seconds, and others are
// served meanwhile.
TEST_F(PreviewServerLimitsTest, DropsAClientThatSendsSlowly) {
  RawConnection slow(port_);
  ASSERT_TRUE(slow.connected());
  const std::string head = Get("/index.html", "X-Padding: " + std::string(40, 'a') + "\r\n");
  const auto start = Clock::now();
  bool dropped = false;
  for (size_t i = 0; i < head.size() && Clock::now() - start < 12s; ++i) {
    if (!slow.Send(head.substr(i, 1))) {
      dropped = true;
      break;
    }
    slow.Read(1s);
    if (slow.closed()) {
      dropped = true;
      break;
    }
    if (i == 2) {
      EXPECT_EQ(Status("/index.html"), 200);  // served meanwhile
    }
  }
  EXPECT_TRUE(dropped);
  EXPECT_LT(Clock::now() - start, 8s);
  EXPECT_EQ(Status("/index.html"), 200);
}

// Stopping never waits on a client: one idle, one halfway through its head, one halfway
// through a download it has stopped reading.
TEST_F(PreviewServerLimitsTest, StopsAtOnceWithClientsConnected) {
  QFile big(Path("site/big.flv"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  ASSERT_TRUE(big.resize(qint64(64) << 20));
  big.close();
  ASSERT_EQ(::chmod(QFile::encodeName(Path("site/big.flv")).constData(), 0644), 0);

  RawConnection idle(port_);
  RawConnection halfway(port_);
  ASSERT_TRUE(halfway.Send("GET /index.html HTTP/1.1\r\nHost: 127.0.0.1"));
  RawConnection download(port_);
  const int small = 4096;
  ::setsockopt(download.fd(), SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  ASSERT_TRUE(download.Send(Get("/big.flv")));
  EXPECT_EQ(StatusOf(download.Read(2s, "\r\n\r\n")), 200);
  std::this_thread::sleep_for(300ms);  // the server is now waiting to send more

  const auto start = Clock::now();
  server_.Stop();
  EXPECT_LT(Clock::now() - start, 500ms);
  EXPECT_FALSE(server_.running());
  // Each client learns that the server has gone.
  idle.Read(2s);
  EXPECT_TRUE(idle.closed());
  halfway.Read(2s);
  EXPECT_TRUE(halfway.closed());
}

// A name swapped for a FIFO between the server's check and its open never hangs it.
TEST_F(PreviewServerLimitsTest, NeverWaitsOnAFifoSwappedIn) {
  // The FIFO keeps a second name, so that the watchdog can free a reader stuck on it.
  const QByteArray fifo = QFile::encodeName(Path("site/.fifo"));
  ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
  test_support::FifoWatchdog watchdog(Path("site"), 4s);
  std::atomic<bool> done{false};
  std::thread swapper([&] {
    const QByteArray served = QFile::encodeName(Path("site/swap.flv"));
    const QByteArray next = QFile::encodeName(Path("site/next"));
    for (int i = 0; !done; ++i) {
      if (i % 2 == 0) {
        ::unlink(next.constData());
        ::link(fifo.constData(), next.constData());
      } else {
        QFile file(Path("site/next"));
        ::unlink(next.constData());
        if (file.open(QIODevice::WriteOnly)) file.write("FLV");
        file.close();
        ::chmod(next.constData(), 0644);
      }
      ::rename(next.constData(), served.constData());
    }
  });
  int answered = 0;
  for (const auto start = Clock::now(); Clock::now() - start < 2s; ++answered) {
    const int status = Status("/swap.flv");
    if (status != 200 && status != 404) break;
  }
  done = true;
  swapper.join();
  EXPECT_FALSE(watchdog.fired());
  EXPECT_GT(answered, 50);
  EXPECT_EQ(Status("/index.html"), 200);
}

TEST_F(PreviewServerLimitsTest, ServesManyRequestsInARowAndAtOnce) {
  httplib::Client client = Client();
  client.set_keep_alive(true);
  for (int i = 0; i < 1000; ++i) {
    auto response = client.Get("/clip.flv");
    ASSERT_TRUE(response) << i;
    ASSERT_EQ(response->body, "FLV0123456789") << i;
  }
  std::atomic<int> served{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < 50; ++i)
    clients.emplace_back([&] {
      auto response = Client().Get("/index.html");
      if (response && response->body == "<p>page</p>") ++served;
    });
  for (std::thread& each : clients) each.join();
  EXPECT_EQ(served, 50);
}

}  // namespace
}  // namespace publish
