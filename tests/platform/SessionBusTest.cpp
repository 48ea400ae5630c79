#include "platform/sdl/SessionBus.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A runtime folder of the test's own, with or without a bus socket in it.
class SessionBusTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_runtime = fs::temp_directory_path() / ("session-bus-" + std::to_string(::getpid()) + "-" +
                                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_runtime);
        m_environment.Set("XDG_RUNTIME_DIR", m_runtime.c_str());
        m_environment.Set(SessionBus::kAddressVariable, nullptr);
    }

    void TearDown() override
    {
        if (m_socket >= 0)
            ::close(m_socket);
        std::error_code ignored;
        fs::remove_all(m_runtime, ignored);
    }

    // A listening socket named "bus", as a desktop's user session has.
    void ListenAsTheBus()
    {
        m_socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(m_socket, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = (m_runtime / "bus").string();
        ASSERT_LT(path.size(), sizeof(address.sun_path));
        path.copy(address.sun_path, path.size());
        ASSERT_EQ(::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ASSERT_EQ(::listen(m_socket, 1), 0);
    }

    static std::string Address()
    {
        const char* address = std::getenv(SessionBus::kAddressVariable);
        return address ? address : "(unset)";
    }

    ScopedEnvironment m_environment;
    fs::path m_runtime;
    int m_socket{-1};
};

} // namespace

TEST_F(SessionBusTest, WithNoBusToFindDBusClientsAreToldThereIsNone)
{
    EXPECT_FALSE(SessionBus::IsReachable());
    SessionBus::KeepOffAnAbsentBus();
    EXPECT_EQ(Address(), SessionBus::kNoBus);
    // Said once, it stays said.
    SessionBus::KeepOffAnAbsentBus();
    EXPECT_EQ(Address(), SessionBus::kNoBus);

    // An empty address would start a bus just as a missing one.
    m_environment.Set(SessionBus::kAddressVariable, "");
    SessionBus::KeepOffAnAbsentBus();
    EXPECT_EQ(Address(), SessionBus::kNoBus);

    // A file that is not a socket is no bus.
    m_environment.Set(SessionBus::kAddressVariable, nullptr);
    std::ofstream(m_runtime / "bus") << "not a socket";
    SessionBus::KeepOffAnAbsentBus();
    EXPECT_EQ(Address(), SessionBus::kNoBus);
}

TEST_F(SessionBusTest, ABusThatExistsOrAnAddressTheUserGaveIsLeftAlone)
{
    m_environment.Set(SessionBus::kAddressVariable, "unix:path=/run/user/1000/bus");
    SessionBus::KeepOffAnAbsentBus();
    EXPECT_EQ(Address(), "unix:path=/run/user/1000/bus");

    // Even one that asks for a bus to be started: the user chose it.
    m_environment.Set(SessionBus::kAddressVariable, "autolaunch:");
    SessionBus::KeepOffAnAbsentBus();
    EXPECT_EQ(Address(), "autolaunch:");

    // A user session's socket is found by D-Bus without an address.
    m_environment.Set(SessionBus::kAddressVariable, nullptr);
    ListenAsTheBus();
    EXPECT_TRUE(SessionBus::IsReachable());
    SessionBus::KeepOffAnAbsentBus();
    EXPECT_EQ(Address(), "(unset)");
}
