#include "runtime/core/engine/args.h"

#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/errors.h"

#include <cstring>

namespace vorn::runtime {

namespace {

bool is_tag(std::uint32_t type) {
    switch (type) {
    case kVornLogical:
    case kVornText:
    case kVornBlock:
    case kVornInteger:
    case kVornDouble:
        return true;
    default:
        return false;
    }
}

bool matches(contract::Arg expected, std::uint32_t type) {
    switch (expected) {
    case contract::Arg::Integer:
    case contract::Arg::Window:
        return type == kVornInteger;
    case contract::Arg::Logical:
        return type == kVornLogical;
    case contract::Arg::Text:
        return type == kVornText;
    case contract::Arg::Block:
        return type == kVornBlock;
    case contract::Arg::Double:
        return type == kVornDouble;
    case contract::Arg::Control:
        return type != kVornOmitted && !is_tag(type);
    case contract::Arg::Any:
        return true;
    }
    return false;
}

} // namespace

Args::Args(Engine& engine, std::string_view command, const VornArgs& args,
           std::span<const contract::ArgSpec> specs)
    : args_(args) {
    auto fail = [&](const std::string& why) {
        engine.fatal(kContractError, std::string(command) + ": " + why);
    };
    if (args.count > specs.size())
        fail("takes at most " + std::to_string(specs.size()) + " arguments, got " +
             std::to_string(args.count));
    if (args.count > 0 && args.args == nullptr)
        fail("argument block without records");
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const bool given = i < args.count && args.args[i].type != kVornOmitted;
        if (!given) {
            if (!specs[i].optional)
                fail("argument " + std::to_string(i + 1) + " is missing");
            continue;
        }
        if (!matches(specs[i].type, args.args[i].type))
            fail("argument " + std::to_string(i + 1) + " has type " + hex(args.args[i].type));
    }
}

const VornArg* Args::at(std::size_t index) const {
    if (index >= args_.count || args_.args[index].type == kVornOmitted)
        return nullptr;
    return &args_.args[index];
}

bool Args::present(std::size_t index) const {
    return at(index) != nullptr;
}

std::int64_t Args::integer(std::size_t index, std::int64_t fallback) const {
    const VornArg* arg = at(index);
    return arg ? std::int64_t(std::int32_t(std::uint32_t(arg->value))) : fallback;
}

std::optional<std::int64_t> Args::optional_integer(std::size_t index) const {
    if (!present(index))
        return std::nullopt;
    return integer(index);
}

bool Args::logical(std::size_t index) const {
    const VornArg* arg = at(index);
    return arg != nullptr && arg->value != 0;
}

std::string Args::text(std::size_t index) const {
    const VornArg* arg = at(index);
    return arg ? Engine::take_text(arg->value) : std::string();
}

ByteView Args::block(std::size_t index) const {
    const VornArg* arg = at(index);
    return arg ? Engine::view_block(arg->value) : ByteView();
}

bool Args::is_block(std::size_t index) const {
    const VornArg* arg = at(index);
    return arg != nullptr && arg->type == kVornBlock;
}

double Args::real(std::size_t index) const {
    const VornArg* arg = at(index);
    double value = 0;
    if (arg != nullptr)
        std::memcpy(&value, &arg->value, sizeof value);
    return value;
}

ControlRef Args::control(std::size_t index) const {
    const VornArg* arg = at(index);
    if (arg == nullptr)
        return {};
    return ControlRef{std::uint32_t(arg->value), std::uint32_t(arg->value >> 32), arg->type};
}

} // namespace vorn::runtime
