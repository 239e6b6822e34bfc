// The entry point's work: version check, construction failures, the record's fixed values and
// destruction through effClose.
#include "shell/PluginInstance.h"
#include "tests/shell/TestHost.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qv {

namespace {

class PluginInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingHost::reset();
        RecordingEditor::liveCount = 0;
    }
};

MultibandEffectBase* createWithoutEditor(audioMasterCallback master) {
    return new TestEffect(master, false);
}
MultibandEffectBase* createNothing(audioMasterCallback) {
    return nullptr;
}
MultibandEffectBase* createThrowing(audioMasterCallback) {
    throw std::bad_alloc();
}

TEST_F(PluginInstanceTest, HostWithVersionZeroGetsNothing) {
    RecordingHost::version = 0;
    EXPECT_EQ(instantiatePlugin(&RecordingHost::callback, &TestEffect::create), nullptr);
    EXPECT_EQ(RecordingEditor::liveCount, 0);
}

TEST_F(PluginInstanceTest, FailuresToBuildYieldNull) {
    EXPECT_EQ(instantiatePlugin(&RecordingHost::callback, &createNothing), nullptr);
    EXPECT_EQ(instantiatePlugin(&RecordingHost::callback, &createThrowing), nullptr);
    EXPECT_EQ(instantiatePlugin(&RecordingHost::callback, &createWithoutEditor), nullptr);
    EXPECT_EQ(instantiatePlugin(nullptr, &TestEffect::create), nullptr);
}

TEST_F(PluginInstanceTest, RecordCarriesTheFixedValues) {
    AEffect* e = instantiatePlugin(&RecordingHost::callback, &TestEffect::create);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->flags, 25);
    EXPECT_EQ(e->numParams, 86);
    EXPECT_EQ(e->numPrograms, 20);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->initialDelay, 838);
    EXPECT_EQ(e->uniqueID, ('f' << 24) | ('w' << 16) | ('3' << 8) | '0');
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->resvd1, 0);
    EXPECT_EQ(e->resvd2, 0);
    EXPECT_EQ(e->realQualities, 0);
    EXPECT_EQ(e->offQualities, 0);
    EXPECT_EQ(e->user, nullptr);
    const char zeros[sizeof(e->future)] = {};
    EXPECT_EQ(std::memcmp(e->future, zeros, sizeof(zeros)), 0);
    ASSERT_NE(e->dispatcher, nullptr);
    ASSERT_NE(e->process, nullptr);
    ASSERT_NE(e->processReplacing, nullptr);
    ASSERT_NE(e->setParameter, nullptr);
    ASSERT_NE(e->getParameter, nullptr);
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(PluginInstanceTest, CloseDestroysEffectAndEditorOnce) {
    AEffect* e = instantiatePlugin(&RecordingHost::callback, &TestEffect::create);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(RecordingEditor::liveCount, 1);
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(RecordingEditor::liveCount, 0);
}

TEST_F(PluginInstanceTest, EditorStateStartsAtItsDefaults) {
    AEffect* e = instantiatePlugin(&RecordingHost::callback, &TestEffect::create);
    ASSERT_NE(e, nullptr);
    EXPECT_FLOAT_EQ(e->getParameter(e, 87), 0.2f);
    EXPECT_FLOAT_EQ(e->getParameter(e, 88), 1.0f);
    EXPECT_FLOAT_EQ(e->getParameter(e, 89), 0.21f);
    EXPECT_FLOAT_EQ(e->getParameter(e, 90), 1.0f);
    EXPECT_FLOAT_EQ(e->getParameter(e, 91), 1.0f);
    EXPECT_FLOAT_EQ(e->getParameter(e, 92), 0.0f);
    EXPECT_EQ(e->dispatcher(e, effGetProgram, 0, 0, nullptr, 0.0f), 0);
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
}

} // namespace

} // namespace qv
