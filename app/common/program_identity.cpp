#include "app/common/program_identity.h"

#include "app/common/app_settings.h"
#include "platform/store/program_folder.h"

void SetProgramIdentity() {
    // The maker's addresses are in the domain reserved for examples: the
    // program has no real support desk or web site to send people to.
    platform::store::SetAppIdentity({kAppKey.toStdString(), "veltrane", "Veltrane", "ZKT",
                                     "support@zkt.example", "https://zkt.example/veltrane"});
}
