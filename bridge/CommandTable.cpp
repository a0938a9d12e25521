#include "bridge/CommandTable.h"

#include "bridge/BridgeTexts.h"
#include "platform/Json.h"

namespace orvane {

// The table fills in as the controller and the Dock functions land.
CommandOutcome dispatch(const std::string& command, const nlohmann::json& args) {
    return platform::OrvaneError{"Orvane", 1, texts::unknownCommand};
}

}  // namespace orvane
