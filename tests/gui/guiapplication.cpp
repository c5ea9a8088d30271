#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

// One QApplication for the whole test program (QT_QPA_PLATFORM=offscreen under CTest),
// ended before static destruction. Compiled into every GUI test program.
class GuiApplication : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "tessaly-gui-test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiApplication);

}  // namespace
