// Names of the results a loader export answers.
#pragma once

namespace loadhost {

// "OK" for 0, the LoaderError name ("LDR_ERR_DOWNLOAD") for the loader codes, empty for a code of
// another layer (readFileData, the serial library).
const char* ResultName(int result);

}  // namespace loadhost
