// Every program test runs as the program: its identity is set before the
// first test reaches a folder, a setting or a caption.
#include <gtest/gtest.h>

#include "app/common/program_identity.h"

namespace {

class ProgramIdentity : public testing::Environment {
public:
    void SetUp() override { SetProgramIdentity(); }
};

testing::Environment* const kProgramIdentity = testing::AddGlobalTestEnvironment(new ProgramIdentity);

}  // namespace
