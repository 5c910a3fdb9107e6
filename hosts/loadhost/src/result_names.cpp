// Names of the loader result codes.
#include "result_names.h"

#include "loader/loader_abi.h"

namespace loadhost {

const char* ResultName(int result) {
    switch (result) {
        case LDR_OK:
            return "OK";
        case LDR_ERR_UNSUPPORTED:
            return "LDR_ERR_UNSUPPORTED";
        case LDR_ERR_LOAD_FILE:
            return "LDR_ERR_LOAD_FILE";
        case LDR_ERR_HIGHEST_ADDR:
            return "LDR_ERR_HIGHEST_ADDR";
        case LDR_ERR_PROGRAM_MODE:
            return "LDR_ERR_PROGRAM_MODE";
        case LDR_ERR_RUN_MODE:
            return "LDR_ERR_RUN_MODE";
        case LDR_ERR_SET_PC:
            return "LDR_ERR_SET_PC";
        case LDR_ERR_DOWNLOAD:
            return "LDR_ERR_DOWNLOAD";
        case LDR_ERR_UPLOAD:
            return "LDR_ERR_UPLOAD";
        case LDR_ERR_VERIFY:
            return "LDR_ERR_VERIFY";
        case LDR_ERR_PORT_WRITE:
            return "LDR_ERR_PORT_WRITE";
        case LDR_ERR_PIC_VERSION:
            return "LDR_ERR_PIC_VERSION";
        case LDR_ERR_SET_TYPE:
            return "LDR_ERR_SET_TYPE";
        case LDR_ERR_PURGE:
            return "LDR_ERR_PURGE";
        case LDR_ERR_CHECKSUM:
            return "LDR_ERR_CHECKSUM";
        default:
            return "";
    }
}

}  // namespace loadhost
