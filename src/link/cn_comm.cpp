// Placeholder until the serial engine lands: the port never opens.
#include "link/cn_comm.h"

namespace panoptix {

struct CnComm::Impl {};

CnComm::CnComm() : impl_(nullptr) {}
CnComm::~CnComm() = default;
bool CnComm::OpenPort(std::string_view, uint32_t) {
    return false;
}
void CnComm::ClosePort(uint32_t) {}
bool CnComm::IsOpen() const {
    return false;
}
int CnComm::InputCount() const {
    return -1;
}
int CnComm::ReadPort(uint8_t*, int) {
    return 0;
}
int CnComm::WritePort(const uint8_t*, int) {
    return 0;
}
void CnComm::DrainInput() {}
bool CnComm::WaitForInput(uint32_t) const {
    return false;
}

}  // namespace panoptix
