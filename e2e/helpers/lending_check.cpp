// Lends large blocks to property stores the way the runtime does under the
// real fault handler: a write into a lent block faults, the store gets its
// own copy, and the write goes on; a block released while lent stays with
// its store until the store goes. Prints each failed check and exits 1 when
// there is one.
//   lending_check
#include "runtime/core/contract/abi.h"
#include "runtime/win32/block_pages.h"

#include "runtime/win32/win32_api.h"

#include <cstdio>

using namespace vorn;

namespace {

constexpr std::size_t kLength = std::size_t(3) << 20;
constexpr int kRounds = 20;

int g_failures = 0;

void check(bool passed, const char* what, int round) {
    if (!passed) {
        ++g_failures;
        std::printf("round %d: %s\n", round, what);
    }
}

DWORD protection_of(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(address, &info, sizeof info);
    return info.State == MEM_COMMIT ? info.Protect : 0;
}

std::uint8_t* program_block(int round) {
    auto* block =
        static_cast<std::uint8_t*>(runtime::BlockLending::process().allocate(kVornBlockHeaderSize + kLength));
    store_u32(block, kVornBlockMarker);
    store_u32(block + 4, std::uint32_t(kLength));
    for (std::size_t i = 0; i < kLength; ++i)
        block[kVornBlockHeaderSize + i] = std::uint8_t(i * 7 + round);
    return block;
}

// The program writes into the middle of its lent block, as its own code
// would: through a plain store that faults.
void written_while_lent(int round) {
    runtime::BlockLending& lending = runtime::BlockLending::process();
    std::uint8_t* block = program_block(round);
    const std::shared_ptr<runtime::ByteStore> store = lending.lend(reinterpret_cast<std::uintptr_t>(block));
    check(store != nullptr && store->view().data() == block + kVornBlockHeaderSize,
          "the block is lent in place", round);
    check(protection_of(block + kLength / 2) == PAGE_READONLY, "a lent block is read-only", round);
    volatile std::uint8_t* middle = block + kVornBlockHeaderSize + kLength / 2;
    const std::uint8_t before = *middle;
    *middle = std::uint8_t(before + 1);
    check(*middle == std::uint8_t(before + 1), "the program's write went through", round);
    check(store->view()[kLength / 2] == before, "the store kept the byte it was lent", round);
    check(store->view().size() == kLength &&
              store->view()[kLength - 1] == block[kVornBlockHeaderSize + kLength - 1],
          "the store kept every byte", round);
    check(protection_of(block) == PAGE_READWRITE, "the block is the program's again", round);
    check(lending.lent_blocks() == 0, "nothing is lent any more", round);
    lending.release(block);
}

// The program lets go of a lent block: the store keeps it, and frees it.
void released_while_lent(int round) {
    runtime::BlockLending& lending = runtime::BlockLending::process();
    std::uint8_t* block = program_block(round);
    std::shared_ptr<runtime::ByteStore> store = lending.lend(reinterpret_cast<std::uintptr_t>(block));
    lending.release(block);
    check(store != nullptr && store->view()[5] == std::uint8_t(5 * 7 + round), "the store kept the block",
          round);
    check(lending.adopted_blocks() == 1, "the store adopted the block", round);
    store.reset();
    check(protection_of(block) == 0, "the block's pages went with the store", round);
    check(lending.adopted_blocks() == 0, "nothing adopted is left", round);
}

} // namespace

int main() {
    win32::start_block_lending();
    for (int round = 0; round < kRounds; ++round) {
        written_while_lent(round);
        released_while_lent(round);
    }
    std::printf("%d failures\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
