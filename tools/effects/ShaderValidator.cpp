#include "tools/effects/ShaderValidator.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>

namespace {

// ------------------------------------------------------- token layout

const uint32_t PixelVersion20 = 0xFFFF0200;
const uint32_t VertexVersion20 = 0xFFFE0200;
const uint32_t EndToken = 0x0000FFFF;
const uint32_t CommentOpcode = 0xFFFE;

uint32_t Opcode(uint32_t token) { return token & 0xFFFF; }
uint32_t Controls(uint32_t token) { return (token >> 16) & 0xFF; }
uint32_t Length(uint32_t token) { return (token >> 24) & 0x0F; }

enum RegisterType : uint32_t {
    Temp = 0,
    Input = 1,
    Const = 2,
    AddressOrTexture = 3, // a0 in vertex shaders, t# in pixel shaders
    RasterOut = 4,        // oPos, oFog, oPts
    AttributeOut = 5,     // oD#
    TexCoordOut = 6,      // oT#
    ConstInt = 7,
    ColorOut = 8,
    DepthOut = 9,
    Sampler = 10,
    ConstBool = 14,
    Loop = 15,
    Predicate = 19,
};

uint32_t RegisterTypeOf(uint32_t param) { return ((param >> 28) & 0x7) | ((param >> 8) & 0x18); }
uint32_t RegisterNumber(uint32_t param) { return param & 0x7FF; }
bool RelativeAddressed(uint32_t param) { return (param & 0x2000) != 0; }
uint32_t WriteMask(uint32_t param) { return (param >> 16) & 0xF; }
uint32_t ResultModifier(uint32_t param) { return (param >> 20) & 0xF; }
uint32_t ShiftScale(uint32_t param) { return (param >> 24) & 0xF; }
uint32_t Swizzle(uint32_t param) { return (param >> 16) & 0xFF; }
uint32_t SourceModifier(uint32_t param) { return (param >> 24) & 0xF; }
// The component source component i reads (0 x .. 3 w).
uint32_t Selector(uint32_t swizzle, int i) { return (swizzle >> (2 * i)) & 3; }

const uint32_t FullMask = 0xF;
const uint32_t IdentitySwizzle = 0xE4; // .xyzw
const uint32_t SaturateModifier = 1;
const uint32_t PartialPrecisionModifier = 2;
const uint32_t NegateModifier = 1;

// Texture types of a sampler declaration.
const uint32_t Sampler2D = 2, SamplerCube = 3, SamplerVolume = 4;

// ------------------------------------------------------- profile tables

// How an instruction's sources read their components.
enum class Reads {
    PerComponent, // source component i feeds result component i (write mask)
    Dot2Add,      // sources 0 and 1 .xy, source 2 one replicated component
    Three,        // .xyz of every source (dp3, crs, nrm)
    Four,         // .xyzw of every source (dp4)
    Scalar,       // one component of every source, by a replicate swizzle
    SinCos,       // source 0 one component; sources 1 and 2 whole constants
    Texture,      // texld, texldp, texldb: coordinates by the sampler's type
    Kill,         // texkill: the components its operand names
    Setup,        // dcl, def: no reads
    None,         // nop
};

enum class Slot { Setup, Arithmetic, Texture };

struct InstructionRule {
    uint32_t opcode;
    const char* name;
    int slots;
    Slot kind;
    Reads reads;
    int sources;
};

// Opcode numbers of the instructions the rules below single out.
enum : uint32_t {
    OpNop = 0, OpMov = 1, OpDcl = 31, OpMova = 46, OpDefb = 47, OpDefi = 48, OpTexkill = 65, OpTex = 66,
    OpDef = 81,
};

// ps_2_0's instructions with their slots.
const InstructionRule PixelInstructions[] = {
    {0, "nop", 1, Slot::Arithmetic, Reads::None, 0},
    {1, "mov", 1, Slot::Arithmetic, Reads::PerComponent, 1},
    {2, "add", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {3, "sub", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {4, "mad", 1, Slot::Arithmetic, Reads::PerComponent, 3},
    {5, "mul", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {6, "rcp", 1, Slot::Arithmetic, Reads::Scalar, 1},
    {7, "rsq", 1, Slot::Arithmetic, Reads::Scalar, 1},
    {8, "dp3", 1, Slot::Arithmetic, Reads::Three, 2},
    {9, "dp4", 1, Slot::Arithmetic, Reads::Four, 2},
    {10, "min", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {11, "max", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {14, "exp", 1, Slot::Arithmetic, Reads::Scalar, 1},
    {15, "log", 1, Slot::Arithmetic, Reads::Scalar, 1},
    {18, "lrp", 2, Slot::Arithmetic, Reads::PerComponent, 3},
    {19, "frc", 1, Slot::Arithmetic, Reads::PerComponent, 1},
    {31, "dcl", 0, Slot::Setup, Reads::Setup, 0},
    {32, "pow", 3, Slot::Arithmetic, Reads::Scalar, 2},
    {33, "crs", 2, Slot::Arithmetic, Reads::Three, 2},
    {35, "abs", 1, Slot::Arithmetic, Reads::PerComponent, 1},
    {36, "nrm", 3, Slot::Arithmetic, Reads::Three, 1},
    {37, "sincos", 8, Slot::Arithmetic, Reads::SinCos, 3},
    {65, "texkill", 1, Slot::Texture, Reads::Kill, 0},
    {66, "texld", 1, Slot::Texture, Reads::Texture, 2},
    {81, "def", 0, Slot::Setup, Reads::Setup, 0},
    {88, "cmp", 1, Slot::Arithmetic, Reads::PerComponent, 3},
    {90, "dp2add", 2, Slot::Arithmetic, Reads::Dot2Add, 3},
};

// vs_2_0's instructions with their slots (flow control left out: no effect
// here branches, and its rules are not checked).
const InstructionRule VertexInstructions[] = {
    {0, "nop", 1, Slot::Arithmetic, Reads::None, 0},
    {1, "mov", 1, Slot::Arithmetic, Reads::PerComponent, 1},
    {2, "add", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {3, "sub", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {4, "mad", 1, Slot::Arithmetic, Reads::PerComponent, 3},
    {5, "mul", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {6, "rcp", 1, Slot::Arithmetic, Reads::Scalar, 1},
    {7, "rsq", 1, Slot::Arithmetic, Reads::Scalar, 1},
    {8, "dp3", 1, Slot::Arithmetic, Reads::Three, 2},
    {9, "dp4", 1, Slot::Arithmetic, Reads::Four, 2},
    {10, "min", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {11, "max", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {12, "slt", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {13, "sge", 1, Slot::Arithmetic, Reads::PerComponent, 2},
    {14, "exp", 10, Slot::Arithmetic, Reads::Scalar, 1},
    {15, "log", 10, Slot::Arithmetic, Reads::Scalar, 1},
    {18, "lrp", 2, Slot::Arithmetic, Reads::PerComponent, 3},
    {19, "frc", 3, Slot::Arithmetic, Reads::PerComponent, 1},
    {31, "dcl", 0, Slot::Setup, Reads::Setup, 0},
    {32, "pow", 3, Slot::Arithmetic, Reads::Scalar, 2},
    {33, "crs", 2, Slot::Arithmetic, Reads::Three, 2},
    {35, "abs", 1, Slot::Arithmetic, Reads::PerComponent, 1},
    {36, "nrm", 3, Slot::Arithmetic, Reads::Three, 1},
    {46, "mova", 1, Slot::Arithmetic, Reads::PerComponent, 1},
    {47, "defb", 0, Slot::Setup, Reads::Setup, 0},
    {48, "defi", 0, Slot::Setup, Reads::Setup, 0},
    {78, "expp", 1, Slot::Arithmetic, Reads::Scalar, 1},
    {79, "logp", 1, Slot::Arithmetic, Reads::Scalar, 1},
    {81, "def", 0, Slot::Setup, Reads::Setup, 0},
};

struct RegisterRule {
    uint32_t type;
    const char* prefix;
    uint32_t count;
    // Distinct registers of this kind one instruction may read; 0: not a
    // source at all.
    int readPorts;
    // May be written by arithmetic.
    bool writable;
};

// ps_2_0's registers.
const RegisterRule PixelRegisters[] = {
    {Temp, "r", 12, 3, true},
    {Input, "v", 2, 1, false},
    {Const, "c", 32, 2, false},
    {AddressOrTexture, "t", 8, 1, false},
    {Sampler, "s", 16, 1, false},
    {ColorOut, "oC", 4, 0, true},
    {DepthOut, "oDepth", 1, 0, true},
};

// vs_2_0's registers (b#, i# and aL only serve flow control).
const RegisterRule VertexRegisters[] = {
    {Temp, "r", 12, 3, true},
    {Input, "v", 16, 1, false},
    {Const, "c", 256, 1, false},
    {AddressOrTexture, "a", 1, 1, false},
    {ConstInt, "i", 16, 0, false},
    {ConstBool, "b", 16, 0, false},
    {RasterOut, "o", 3, 0, true},
    {AttributeOut, "oD", 2, 0, true},
    {TexCoordOut, "oT", 8, 0, true},
};

// ps_2_0's swizzles besides arbitrary ones, which it lacks.
const uint32_t PixelSwizzles[] = {
    0xE4, // .xyzw
    0x39, // .yzxw
    0xD2, // .zxyw
    0x1B, // .wzyx
    0x00, // .xxxx
    0x55, // .yyyy
    0xAA, // .zzzz
    0xFF, // .wwww
};

struct Profile {
    const char* name;
    bool pixel;
    const InstructionRule* instructions;
    std::size_t instructionCount;
    const RegisterRule* registers;
    std::size_t registerCount;
    int arithmeticSlots; // the most arithmetic slots (all slots for vertex shaders)
    int textureSlots;
    // The highest dependency order a texture read may have.
    int dependentReadOrder;
    bool saturate;         // _sat allowed
    bool partialPrecision; // _pp allowed
    bool arbitrarySwizzle;
};

const Profile PixelProfile = {"ps_2_0", true, PixelInstructions, std::size(PixelInstructions), PixelRegisters,
                              std::size(PixelRegisters), 64, 32, 3, true, true, false};
const Profile VertexProfile = {"vs_2_0", false, VertexInstructions, std::size(VertexInstructions), VertexRegisters,
                               std::size(VertexRegisters), 256, 0, 0, false, false, true};

// ------------------------------------------------------- naming

const char* const ComponentNames = "xyzw";

std::string MaskName(uint32_t mask)
{
    std::string name = ".";
    for (int i = 0; i < 4; ++i)
        if (mask & (1u << i))
            name += ComponentNames[i];
    return name;
}

std::string SwizzleName(uint32_t swizzle)
{
    std::string name = ".";
    for (int i = 0; i < 4; ++i)
        name += ComponentNames[Selector(swizzle, i)];
    return name;
}

const char* const RasterOutNames[] = {"oPos", "oFog", "oPts"};

// ------------------------------------------------------- the checker

struct Failure {
    std::string message;
};

class Checker {
public:
    Checker(const Profile& profile, const uint32_t* tokens, std::size_t count)
        : profile(profile), tokens(tokens), count(count)
    {
    }

    bool Run(ShaderViolation& violation)
    {
        try {
            Walk();
            return false;
        } catch (const Failure& failure) {
            violation.declaration = declaration;
            violation.instruction = instruction;
            violation.message = failure.message;
            return true;
        }
    }

private:
    [[noreturn]] void Fail(const std::string& message) { throw Failure{message}; }

    void Walk()
    {
        std::size_t at = 1;
        for (;;) {
            if (at >= count)
                Fail("the shader has no end token");
            const uint32_t token = tokens[at];
            if (token == EndToken)
                break;
            if (Opcode(token) == CommentOpcode) {
                at += 1 + ((token >> 16) & 0x7FFF);
                continue;
            }
            const std::size_t length = Length(token);
            if (at + 1 + length > count)
                Fail("an instruction runs past the shader's end");
            Instruction(token, tokens + at + 1, length);
            at += 1 + length;
        }
        Finish();
    }

    const InstructionRule& RuleOf(uint32_t opcode)
    {
        for (std::size_t i = 0; i < profile.instructionCount; ++i)
            if (profile.instructions[i].opcode == opcode)
                return profile.instructions[i];
        Fail("instruction " + std::to_string(opcode) + " is not one of " + profile.name +
             "'s (or its rules are not checked here)");
    }

    const RegisterRule& RegisterOf(uint32_t param)
    {
        const uint32_t type = RegisterTypeOf(param);
        for (std::size_t i = 0; i < profile.registerCount; ++i) {
            const RegisterRule& rule = profile.registers[i];
            if (rule.type != type)
                continue;
            if (RegisterNumber(param) >= rule.count)
                Fail(Name(param) + " is out of range: " + profile.name + " has " + std::to_string(rule.count) + " " +
                     rule.prefix + "# registers");
            return rule;
        }
        Fail("register type " + std::to_string(type) + " does not exist in " + profile.name);
    }

    std::string Name(uint32_t param) const
    {
        const uint32_t type = RegisterTypeOf(param);
        const uint32_t number = RegisterNumber(param);
        if (type == RasterOut && number < 3)
            return RasterOutNames[number];
        if (type == DepthOut)
            return "oDepth";
        for (std::size_t i = 0; i < profile.registerCount; ++i)
            if (profile.registers[i].type == type)
                return profile.registers[i].prefix + std::to_string(number);
        return "register " + std::to_string(number) + " of type " + std::to_string(type);
    }

    // --------------------------------------------------- one instruction

    void Instruction(uint32_t token, const uint32_t* operands, std::size_t length)
    {
        const uint32_t opcode = Opcode(token);
        const bool setup = opcode == OpDcl || opcode == OpDef || opcode == OpDefi || opcode == OpDefb;
        declaration = setup && length > 0 ? Name(operands[opcode == OpDcl && length > 1 ? 1 : 0]) : "";
        if (!setup)
            ++instruction;
        const InstructionRule& rule = RuleOf(opcode);
        name = rule.name;
        if (token & 0x50000000)
            Fail(std::string("'") + name + "' is predicated or co-issued, which " + profile.name + " does not allow");
        CountSlots(rule);
        if (opcode == OpDcl)
            return Declaration(operands, length);
        if (opcode == OpDef || opcode == OpDefi || opcode == OpDefb)
            return Definition(opcode, operands, length);
        if (rule.reads == Reads::None) {
            if (length != 0)
                Fail(std::string("'") + name + "' takes no operands");
            return;
        }

        // Operands: the destination, then the sources (a relative address
        // adds a token after its source).
        if (length == 0)
            Fail(std::string("'") + name + "' has no operands");
        std::size_t at = 0;
        const uint32_t destination = operands[at++];
        std::vector<uint32_t> sources;
        while (at < length) {
            const uint32_t source = operands[at++];
            if (RelativeAddressed(source)) {
                if (profile.pixel || RegisterTypeOf(source) != Const)
                    Fail(std::string("'") + name + "' addresses " + Name(source) + " relatively, which " +
                         profile.name + " allows only for constants in vertex shaders");
                if (at >= length)
                    Fail(std::string("'") + name + "' lacks its address register");
                ++at;
            }
            sources.push_back(source);
        }
        if (static_cast<int>(sources.size()) != rule.sources)
            Fail(std::string("'") + name + "' takes " + std::to_string(rule.sources) + " sources");

        for (uint32_t source : sources)
            SourceRules(source);
        ReadPorts(sources);
        if (rule.reads == Reads::Texture)
            return TextureRead(token, destination, sources);
        if (rule.reads == Reads::Kill)
            return Kill(destination);

        DestinationRules(opcode, destination, sources);
        for (std::size_t i = 0; i < sources.size(); ++i)
            ReadComponents(sources[i], ComponentsRead(rule.reads, i, destination, sources[i]), rule.reads, i);
        Write(destination, sources);
    }

    void CountSlots(const InstructionRule& rule)
    {
        if (rule.kind == Slot::Arithmetic) {
            arithmetic += rule.slots;
            if (arithmetic > profile.arithmeticSlots)
                Fail(std::string("'") + rule.name + "' brings the shader to " + std::to_string(arithmetic) + " " +
                     (profile.pixel ? "arithmetic " : "") + "instruction slots; " + profile.name + " allows " +
                     std::to_string(profile.arithmeticSlots));
        } else if (rule.kind == Slot::Texture) {
            texture += rule.slots;
            if (texture > profile.textureSlots)
                Fail(std::string("'") + rule.name + "' brings the shader to " + std::to_string(texture) +
                     " texture instruction slots; " + profile.name + " allows " +
                     std::to_string(profile.textureSlots));
        }
    }

    // dcl: a sampler with its texture type, or an input with its mask.
    void Declaration(const uint32_t* operands, std::size_t length)
    {
        if (length != 2)
            Fail("a declaration needs two tokens");
        const uint32_t info = operands[0];
        const uint32_t reg = operands[1];
        RegisterOf(reg);
        const uint32_t type = RegisterTypeOf(reg);
        const uint32_t number = RegisterNumber(reg);
        if (type == Sampler && profile.pixel) {
            const uint32_t textureType = (info >> 27) & 0xF;
            if (textureType != Sampler2D && textureType != SamplerCube && textureType != SamplerVolume)
                Fail(Name(reg) + " is declared without a 2d, cube or volume texture type");
            samplers[number] = textureType;
            return;
        }
        const bool input = type == Input || (profile.pixel && type == AddressOrTexture);
        if (!input)
            Fail(Name(reg) + " cannot be declared in " + profile.name);
        declared[Key(reg)] = WriteMask(reg);
    }

    void Definition(uint32_t opcode, const uint32_t* operands, std::size_t length)
    {
        const uint32_t reg = operands[0];
        RegisterOf(reg);
        const uint32_t wanted = opcode == OpDefb ? ConstBool : opcode == OpDefi ? ConstInt : Const;
        if (RegisterTypeOf(reg) != wanted || length != (opcode == OpDefb ? 2u : 5u))
            Fail(std::string("'") + name + "' must define a " + (opcode == OpDef ? "c" : opcode == OpDefi ? "i" : "b") +
                 "# register");
    }

    void SourceRules(uint32_t source)
    {
        const RegisterRule& reg = RegisterOf(source);
        if (reg.readPorts == 0)
            Fail(Name(source) + " cannot be read by '" + name + "'");
        const uint32_t modifier = SourceModifier(source);
        if (modifier != 0 && modifier != NegateModifier)
            Fail(std::string("source modifier ") + std::to_string(modifier) + " on " + Name(source) +
                 " is not allowed in " + profile.name + " (only negation)");
        if (RegisterTypeOf(source) == Sampler && !profile.pixel)
            Fail("vertex shaders of " + std::string(profile.name) + " have no samplers");
    }

    // Distinct registers of one kind read by one instruction.
    void ReadPorts(const std::vector<uint32_t>& sources)
    {
        std::map<uint32_t, std::vector<uint32_t>> distinct;
        for (uint32_t source : sources) {
            std::vector<uint32_t>& numbers = distinct[RegisterTypeOf(source)];
            if (std::find(numbers.begin(), numbers.end(), RegisterNumber(source)) == numbers.end())
                numbers.push_back(RegisterNumber(source));
        }
        for (const auto& [type, numbers] : distinct) {
            const RegisterRule& reg = RegisterOf(Representative(sources, type));
            if (static_cast<int>(numbers.size()) > reg.readPorts)
                Fail(std::string("'") + name + "' reads " + std::to_string(numbers.size()) + " different " +
                     reg.prefix + "# registers; " + profile.name + " allows " + std::to_string(reg.readPorts));
        }
    }

    static uint32_t Representative(const std::vector<uint32_t>& sources, uint32_t type)
    {
        for (uint32_t source : sources)
            if (RegisterTypeOf(source) == type)
                return source;
        return sources.front();
    }

    // Which components of result and sources an instruction involves.
    uint32_t ComponentsRead(Reads reads, std::size_t index, uint32_t destination, uint32_t source)
    {
        switch (reads) {
        case Reads::PerComponent: return WriteMask(destination);
        case Reads::Dot2Add: return index < 2 ? 0x3 : 0x1;
        case Reads::Three: return 0x7;
        case Reads::Four: return 0xF;
        case Reads::Scalar: return 0x1;
        case Reads::SinCos: return index == 0 ? 0x1 : 0xF;
        default: (void)source; return 0;
        }
    }

    // The swizzle rules and the reads of unwritten or undeclared components.
    void ReadComponents(uint32_t source, uint32_t components, Reads reads, std::size_t index)
    {
        const uint32_t swizzle = Swizzle(source);
        const bool needsReplicate =
            profile.pixel && (reads == Reads::Scalar || (reads == Reads::Dot2Add && index == 2) ||
                              (reads == Reads::SinCos && index == 0));
        if (needsReplicate && !IsReplicate(swizzle))
            Fail(std::string("'") + name + "' needs a replicate swizzle (.x, .y, .z or .w) on " + Name(source) +
                 ", not " + SwizzleName(swizzle));
        if (!profile.arbitrarySwizzle && !AllowedSwizzle(swizzle, components))
            Fail("source swizzle " + SwizzleName(swizzle) + " on " + Name(source) + " is not allowed in " +
                 profile.name + " (only .xyzw, .yzxw, .zxyw, .wzyx and the replicates .x, .y, .z, .w)");
        if (reads == Reads::SinCos && index > 0 && RegisterTypeOf(source) != Const)
            Fail("'sincos' takes its second and third sources from constants");
        uint32_t needed = 0;
        for (int i = 0; i < 4; ++i)
            if (components & (1u << i))
                needed |= 1u << Selector(swizzle, i);
        NeedComponents(source, needed);
    }

    static bool IsReplicate(uint32_t swizzle)
    {
        return swizzle == 0x00 || swizzle == 0x55 || swizzle == 0xAA || swizzle == 0xFF;
    }

    // A swizzle passes when one of the profile's swizzles agrees with it on
    // every component the instruction uses.
    static bool AllowedSwizzle(uint32_t swizzle, uint32_t components)
    {
        for (uint32_t allowed : PixelSwizzles) {
            bool agrees = true;
            for (int i = 0; i < 4; ++i)
                if ((components & (1u << i)) && Selector(swizzle, i) != Selector(allowed, i))
                    agrees = false;
            if (agrees)
                return true;
        }
        return false;
    }

    void NeedComponents(uint32_t source, uint32_t needed)
    {
        const uint32_t type = RegisterTypeOf(source);
        if (type == Temp) {
            const uint32_t missing = needed & ~written[RegisterNumber(source)];
            if (missing)
                Fail(std::string("'") + name + "' reads " + Name(source) + MaskName(missing) +
                     " before anything wrote it");
        } else if (type == Input || (profile.pixel && type == AddressOrTexture)) {
            auto found = declared.find(Key(source));
            if (found == declared.end())
                Fail(std::string("'") + name + "' reads " + Name(source) + ", which is not declared (dcl)");
            const uint32_t missing = needed & ~found->second;
            if (missing)
                Fail(std::string("'") + name + "' reads " + Name(source) + MaskName(missing) +
                     ", which its declaration leaves out");
        } else if (type == AddressOrTexture && !addressWritten) {
            Fail(std::string("'") + name + "' reads a0 before mova wrote it");
        }
    }

    void DestinationRules(uint32_t opcode, uint32_t destination, const std::vector<uint32_t>& sources)
    {
        const RegisterRule& reg = RegisterOf(destination);
        const uint32_t type = RegisterTypeOf(destination);
        const bool address = !profile.pixel && type == AddressOrTexture;
        if (!reg.writable && !address)
            Fail(std::string("'") + name + "' cannot write " + Name(destination) + ": it is read-only");
        if (address != (opcode == OpMova))
            Fail(address ? std::string("'") + name + "' cannot write a0: only mova can"
                         : std::string("mova writes only a0"));
        const uint32_t mask = WriteMask(destination);
        if (mask == 0)
            Fail(std::string("'") + name + "' writes no component");
        const uint32_t modifier = ResultModifier(destination);
        if ((modifier & SaturateModifier) && !profile.saturate)
            Fail(std::string("'") + name + "_sat': " + profile.name + " has no saturate modifier");
        if ((modifier & PartialPrecisionModifier) && !profile.partialPrecision)
            Fail(std::string("'") + name + "_pp': " + profile.name + " has no partial precision");
        if (modifier & ~(SaturateModifier | PartialPrecisionModifier))
            Fail(std::string("'") + name + "' uses a result modifier " + profile.name + " does not have");
        if (ShiftScale(destination) != 0)
            Fail(std::string("'") + name + "' scales its result, which " + profile.name + " cannot");
        if (name == std::string("sincos") && (mask & ~0x3u))
            Fail("'sincos' writes only .x, .y or .xy");
        if (name == std::string("crs") && (mask & 0x8u))
            Fail("'crs' writes only components of .xyz");
        if (profile.pixel && (type == ColorOut || type == DepthOut))
            PixelOutput(opcode, destination, sources);
    }

    // ps_2_0 writes a colour or depth output once, with a plain mov of a
    // whole register.
    void PixelOutput(uint32_t opcode, uint32_t destination, const std::vector<uint32_t>& sources)
    {
        const std::string output = Name(destination);
        if (opcode != OpMov)
            Fail(output + " can be written only by mov, not '" + name + "'");
        if (ResultModifier(destination) != 0)
            Fail(output + " cannot be written with a result modifier");
        if (SourceModifier(sources[0]) != 0)
            Fail(output + " cannot be written from a modified source");
        if (RegisterTypeOf(destination) == ColorOut) {
            if (WriteMask(destination) != FullMask)
                Fail(output + " must be written whole (no write mask), not " + MaskName(WriteMask(destination)));
            if (Swizzle(sources[0]) != IdentitySwizzle)
                Fail(output + " cannot be written from a swizzled source (" + SwizzleName(Swizzle(sources[0])) + ")");
        } else if (!IsReplicate(Swizzle(sources[0]))) {
            Fail("oDepth must be written from one replicated component (.x, .y, .z or .w)");
        }
        const uint32_t bit = RegisterTypeOf(destination) == DepthOut ? 0x10 : 1u << RegisterNumber(destination);
        if (outputsWritten & bit)
            Fail(output + " is written twice; " + std::string(profile.name) + " writes each output once");
        outputsWritten |= bit;
    }

    // texld, texldp, texldb.
    void TextureRead(uint32_t token, uint32_t destination, const std::vector<uint32_t>& sources)
    {
        const uint32_t coordinates = sources[0];
        const uint32_t sampler = sources[1];
        const uint32_t variant = Controls(token); // 0 texld, 1 texldp, 2 texldb
        const std::string instructionName = variant == 1 ? "texldp" : variant == 2 ? "texldb" : "texld";
        if (variant > 2)
            Fail("unknown texture instruction variant");
        if (RegisterTypeOf(destination) != Temp || WriteMask(destination) != FullMask)
            Fail("'" + instructionName + "' must write a whole temporary register (r#, no write mask)");
        RegisterOf(destination);
        if (ResultModifier(destination) & ~PartialPrecisionModifier)
            Fail("'" + instructionName + "' takes no result modifier but _pp");
        const uint32_t coordinateType = RegisterTypeOf(coordinates);
        if (coordinateType != Temp && coordinateType != AddressOrTexture)
            Fail("'" + instructionName + "' takes its coordinates from a t# or r# register, not " + Name(coordinates));
        if (Swizzle(coordinates) != IdentitySwizzle || SourceModifier(coordinates) != 0)
            Fail("'" + instructionName + "' takes its coordinates without swizzle or modifier");
        if (RegisterTypeOf(sampler) != Sampler || Swizzle(sampler) != IdentitySwizzle || SourceModifier(sampler) != 0)
            Fail("'" + instructionName + "' samples through an s# register, without swizzle or modifier");
        auto declaredSampler = samplers.find(RegisterNumber(sampler));
        if (declaredSampler == samplers.end())
            Fail("'" + instructionName + "' samples " + Name(sampler) + ", which is not declared (dcl_2d, dcl_cube or dcl_volume)");
        uint32_t needed = declaredSampler->second == Sampler2D ? 0x3 : 0x7;
        if (variant != 0)
            needed |= 0x8;
        NeedComponents(coordinates, needed);

        // Dependency order: reading coordinates from a temporary, or
        // overwriting one, makes the read dependent, one order above the
        // reads it builds on.
        const uint32_t target = RegisterNumber(destination);
        const bool fromTemp = coordinateType == Temp;
        const bool overwrites = written[target] != 0;
        int order = 0;
        if (fromTemp || overwrites) {
            int below = 0;
            if (fromTemp)
                below = std::max(below, dependency[RegisterNumber(coordinates)]);
            if (overwrites)
                below = std::max(below, dependency[target]);
            order = below + 1;
        }
        if (order > profile.dependentReadOrder)
            Fail("'" + instructionName + "' is a dependent read of order " + std::to_string(order) + "; " +
                 profile.name + " allows " + std::to_string(profile.dependentReadOrder) +
                 " (four levels of texture reads)");
        written[target] = FullMask;
        dependency[target] = order;
    }

    void Kill(uint32_t operand)
    {
        const uint32_t type = RegisterTypeOf(operand);
        if (type != Temp && type != AddressOrTexture)
            Fail("'texkill' tests a t# or r# register, not " + Name(operand));
        RegisterOf(operand);
        NeedComponents(operand, WriteMask(operand));
    }

    void Write(uint32_t destination, const std::vector<uint32_t>& sources)
    {
        const uint32_t type = RegisterTypeOf(destination);
        const uint32_t mask = WriteMask(destination);
        if (type == Temp) {
            const uint32_t number = RegisterNumber(destination);
            int order = mask == FullMask ? 0 : dependency[number];
            for (uint32_t source : sources)
                if (RegisterTypeOf(source) == Temp)
                    order = std::max(order, dependency[RegisterNumber(source)]);
            dependency[number] = order;
            written[number] |= mask;
        } else if (!profile.pixel && type == RasterOut && RegisterNumber(destination) == 0) {
            positionWritten |= mask;
        } else if (!profile.pixel && type == AddressOrTexture) {
            addressWritten = true;
        }
    }

    // --------------------------------------------------- the whole shader

    void Finish()
    {
        declaration.clear();
        if (profile.pixel) {
            if (!(outputsWritten & 1))
                Fail("the shader never writes oC0; every ps_2_0 shader must");
            for (uint32_t i = 1; i < 4; ++i)
                if ((outputsWritten & (1u << i)) && !(outputsWritten & (1u << (i - 1))))
                    Fail("the shader writes oC" + std::to_string(i) + " but not oC" + std::to_string(i - 1));
        } else if (positionWritten != FullMask) {
            Fail("the shader must write all of oPos (.xyzw); it writes " +
                 (positionWritten ? MaskName(positionWritten) : std::string("none of it")));
        }
    }

    static uint32_t Key(uint32_t reg) { return (RegisterTypeOf(reg) << 16) | RegisterNumber(reg); }

    const Profile& profile;
    const uint32_t* tokens;
    std::size_t count;
    std::size_t instruction = 0;
    const char* name = "";
    int arithmetic = 0;
    int texture = 0;
    uint32_t written[32] = {};
    int dependency[32] = {};
    std::map<uint32_t, uint32_t> declared;
    std::map<uint32_t, uint32_t> samplers;
    uint32_t outputsWritten = 0;
    uint32_t positionWritten = 0;
    bool addressWritten = false;
    std::string declaration;
};

} // namespace

bool FindShaderViolation(const std::vector<uint8_t>& bytecode, ShaderViolation& violation)
{
    if (bytecode.size() < 8 || bytecode.size() % 4 != 0) {
        violation = {"", 0, "the shader's bytecode is cut short"};
        return true;
    }
    std::vector<uint32_t> tokens(bytecode.size() / 4);
    std::memcpy(tokens.data(), bytecode.data(), bytecode.size());
    const Profile* profile = tokens[0] == PixelVersion20 ? &PixelProfile
                             : tokens[0] == VertexVersion20 ? &VertexProfile
                                                            : nullptr;
    if (!profile) {
        violation = {"", 0, "only ps_2_0 and vs_2_0 shaders are accepted: every Direct3D 9 device runs them, and "
                        "their rules are the ones checked here"};
        return true;
    }
    return Checker(*profile, tokens.data(), tokens.size()).Run(violation);
}
