#include "tools/effects/EffectCompiler.h"

#include "tools/effects/CompiledEffectWriter.h"
#include "tools/effects/ShaderConstantTable.h"
#include "tools/effects/ShaderValidator.h"

#include <d3dx9.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>

EffectSourceError::EffectSourceError(int line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message), line(line), message(message)
{
}

namespace {

// ---------------------------------------------------------------- lexing

struct Token {
    enum Kind { Name, Number, Symbol, End } kind = End;
    std::string text;
    int line = 0;
};

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

class Lexer {
public:
    explicit Lexer(const std::string& text) : text(text) {}

    const Token& Peek()
    {
        if (!peeked) {
            next = Scan();
            peeked = true;
        }
        return next;
    }

    Token Take()
    {
        Peek();
        peeked = false;
        return next;
    }

    // The raw text up to the next '}' (which is consumed), for shader bodies:
    // assembly has no braces. Sets the line the text starts on.
    std::string RawBody(int& firstLine)
    {
        if (peeked)
            throw EffectSourceError(next.line, "internal: raw body after a peeked token");
        firstLine = line;
        const std::size_t end = text.find('}', pos);
        if (end == std::string::npos)
            throw EffectSourceError(line, "shader body without its closing '}'");
        std::string body = text.substr(pos, end - pos);
        line += static_cast<int>(std::count(body.begin(), body.end(), '\n'));
        pos = end + 1;
        return body;
    }

private:
    void SkipSpaceAndComments()
    {
        for (;;) {
            while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) {
                if (text[pos] == '\n')
                    ++line;
                ++pos;
            }
            if (text.compare(pos, 2, "//") == 0) {
                while (pos < text.size() && text[pos] != '\n')
                    ++pos;
            } else if (text.compare(pos, 2, "/*") == 0) {
                const int startLine = line;
                const std::size_t end = text.find("*/", pos + 2);
                if (end == std::string::npos)
                    throw EffectSourceError(startLine, "comment without its closing */");
                line += static_cast<int>(std::count(text.begin() + pos, text.begin() + end, '\n'));
                pos = end + 2;
            } else {
                return;
            }
        }
    }

    Token Scan()
    {
        SkipSpaceAndComments();
        Token token;
        token.line = line;
        if (pos >= text.size())
            return token;
        const char c = text[pos];
        if (IsNameStart(c)) {
            const std::size_t start = pos;
            while (pos < text.size() && IsNameChar(text[pos]))
                ++pos;
            token.kind = Token::Name;
            token.text = text.substr(start, pos - start);
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.') {
            const std::size_t start = pos;
            ++pos;
            while (pos < text.size() &&
                   (std::isalnum(static_cast<unsigned char>(text[pos])) || text[pos] == '.' ||
                    ((text[pos] == '-' || text[pos] == '+') && (text[pos - 1] == 'e' || text[pos - 1] == 'E'))))
                ++pos;
            token.kind = Token::Number;
            token.text = text.substr(start, pos - start);
        } else {
            ++pos;
            token.kind = Token::Symbol;
            token.text = std::string(1, c);
        }
        return token;
    }

    const std::string& text;
    std::size_t pos = 0;
    int line = 1;
    Token next;
    bool peeked = false;
};

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

float ParseFloat(const Token& token)
{
    if (token.kind != Token::Number)
        throw EffectSourceError(token.line, "expected a number, found '" + token.text + "'");
    char* end = nullptr;
    const float value = std::strtof(token.text.c_str(), &end);
    if (!end || *end != '\0')
        throw EffectSourceError(token.line, "'" + token.text + "' is not a number");
    return value;
}

uint32_t ParseUnsigned(const Token& token)
{
    if (token.kind != Token::Number)
        throw EffectSourceError(token.line, "expected a whole number, found '" + token.text + "'");
    char* end = nullptr;
    const unsigned long value = std::strtoul(token.text.c_str(), &end, 0);
    if (!end || *end != '\0' || token.text[0] == '-')
        throw EffectSourceError(token.line, "'" + token.text + "' is not a whole number");
    return static_cast<uint32_t>(value);
}

// ------------------------------------------------------- state values

enum class ValueKind { Bool, Int, Float, Blend, Cull, Compare, BlendOp, Address, Filter, TextureOp, TextureArg,
                       VertexShader, PixelShader, TextureName };

struct NamedValue {
    const char* name;
    uint32_t value;
};

const NamedValue BoolValues[] = {{"false", 0}, {"true", 1}};
const NamedValue BlendValues[] = {{"zero", 1},          {"one", 2},           {"srccolor", 3},
                                  {"invsrccolor", 4},   {"srcalpha", 5},      {"invsrcalpha", 6},
                                  {"destalpha", 7},     {"invdestalpha", 8},  {"destcolor", 9},
                                  {"invdestcolor", 10}, {"srcalphasat", 11},  {"blendfactor", 14},
                                  {"invblendfactor", 15}};
const NamedValue CullValues[] = {{"none", 1}, {"cw", 2}, {"ccw", 3}};
const NamedValue CompareValues[] = {{"never", 1},   {"less", 2},     {"equal", 3},        {"lessequal", 4},
                                    {"greater", 5}, {"notequal", 6}, {"greaterequal", 7}, {"always", 8}};
const NamedValue BlendOpValues[] = {{"add", 1}, {"subtract", 2}, {"revsubtract", 3}, {"min", 4}, {"max", 5}};
const NamedValue AddressValues[] = {{"wrap", 1}, {"mirror", 2}, {"clamp", 3}, {"border", 4}, {"mirroronce", 5}};
const NamedValue FilterValues[] = {{"none", 0}, {"point", 1}, {"linear", 2}, {"anisotropic", 3}};
const NamedValue TextureOpValues[] = {
    {"disable", 1},       {"selectarg1", 2},         {"selectarg2", 3},        {"modulate", 4},
    {"modulate2x", 5},    {"modulate4x", 6},         {"add", 7},               {"addsigned", 8},
    {"addsigned2x", 9},   {"subtract", 10},          {"addsmooth", 11},        {"blenddiffusealpha", 12},
    {"blendtexturealpha", 13}, {"blendfactoralpha", 14}, {"blendcurrentalpha", 16}, {"bumpenvmap", 22},
    {"dotproduct3", 24},  {"multiplyadd", 25},       {"lerp", 26}};
const NamedValue TextureArgValues[] = {{"diffuse", 0}, {"current", 1},    {"texture", 2},
                                       {"tfactor", 3}, {"specular", 4},   {"temp", 5},
                                       {"constant", 6}, {"complement", 0x10}, {"alphareplicate", 0x20}};

struct StateInfo {
    const char* name;
    uint32_t operation;
    ValueKind kind;
    // Takes a stage index in brackets.
    bool indexed;
    // Allowed in a sampler block (else in a pass).
    bool sampler;
};

using namespace EffectState;

const StateInfo States[] = {
    {"zenable", ZEnable, ValueKind::Bool, false, false},
    {"zwriteenable", ZWriteEnable, ValueKind::Bool, false, false},
    {"alphatestenable", AlphaTestEnable, ValueKind::Bool, false, false},
    {"srcblend", SrcBlend, ValueKind::Blend, false, false},
    {"destblend", DestBlend, ValueKind::Blend, false, false},
    {"cullmode", CullMode, ValueKind::Cull, false, false},
    {"zfunc", ZFunc, ValueKind::Compare, false, false},
    {"alpharef", AlphaRef, ValueKind::Int, false, false},
    {"alphafunc", AlphaFunc, ValueKind::Compare, false, false},
    {"alphablendenable", AlphaBlendEnable, ValueKind::Bool, false, false},
    {"fogenable", FogEnable, ValueKind::Bool, false, false},
    {"specularenable", SpecularEnable, ValueKind::Bool, false, false},
    {"stencilenable", StencilEnable, ValueKind::Bool, false, false},
    {"texturefactor", TextureFactor, ValueKind::Int, false, false},
    {"lighting", Lighting, ValueKind::Bool, false, false},
    {"colorwriteenable", ColorWriteEnable, ValueKind::Int, false, false},
    {"blendop", BlendOp, ValueKind::BlendOp, false, false},
    {"scissortestenable", ScissorTestEnable, ValueKind::Bool, false, false},
    {"separatealphablendenable", SeparateAlphaBlendEnable, ValueKind::Bool, false, false},
    {"srcblendalpha", SrcBlendAlpha, ValueKind::Blend, false, false},
    {"destblendalpha", DestBlendAlpha, ValueKind::Blend, false, false},
    {"blendopalpha", BlendOpAlpha, ValueKind::BlendOp, false, false},
    {"colorop", ColorOp, ValueKind::TextureOp, true, false},
    {"colorarg0", ColorArg0, ValueKind::TextureArg, true, false},
    {"colorarg1", ColorArg1, ValueKind::TextureArg, true, false},
    {"colorarg2", ColorArg2, ValueKind::TextureArg, true, false},
    {"alphaop", AlphaOp, ValueKind::TextureOp, true, false},
    {"alphaarg0", AlphaArg0, ValueKind::TextureArg, true, false},
    {"alphaarg1", AlphaArg1, ValueKind::TextureArg, true, false},
    {"alphaarg2", AlphaArg2, ValueKind::TextureArg, true, false},
    {"resultarg", ResultArg, ValueKind::TextureArg, true, false},
    {"texcoordindex", TexCoordIndex, ValueKind::Int, true, false},
    {"texturetransformflags", TextureTransformFlags, ValueKind::Int, true, false},
    {"vertexshader", VertexShader, ValueKind::VertexShader, false, false},
    {"pixelshader", PixelShader, ValueKind::PixelShader, false, false},
    {"texture", Texture, ValueKind::TextureName, true, false},
    {"texture", Texture, ValueKind::TextureName, false, true},
    {"addressu", AddressU, ValueKind::Address, false, true},
    {"addressv", AddressV, ValueKind::Address, false, true},
    {"addressw", AddressW, ValueKind::Address, false, true},
    {"bordercolor", BorderColor, ValueKind::Int, false, true},
    {"magfilter", MagFilter, ValueKind::Filter, false, true},
    {"minfilter", MinFilter, ValueKind::Filter, false, true},
    {"mipfilter", MipFilter, ValueKind::Filter, false, true},
    {"maxmiplevel", MaxMipLevel, ValueKind::Int, false, true},
    {"maxanisotropy", MaxAnisotropy, ValueKind::Int, false, true},
    {"srgbtexture", SRGBTexture, ValueKind::Bool, false, true},
};

template <std::size_t N>
bool Lookup(const NamedValue (&table)[N], const std::string& name, uint32_t& value)
{
    for (const NamedValue& entry : table)
        if (name == entry.name) {
            value = entry.value;
            return true;
        }
    return false;
}

bool LookupNamed(ValueKind kind, const std::string& name, uint32_t& value)
{
    switch (kind) {
    case ValueKind::Bool: return Lookup(BoolValues, name, value);
    case ValueKind::Blend: return Lookup(BlendValues, name, value);
    case ValueKind::Cull: return Lookup(CullValues, name, value);
    case ValueKind::Compare: return Lookup(CompareValues, name, value);
    case ValueKind::BlendOp: return Lookup(BlendOpValues, name, value);
    case ValueKind::Address: return Lookup(AddressValues, name, value);
    case ValueKind::Filter: return Lookup(FilterValues, name, value);
    case ValueKind::TextureOp: return Lookup(TextureOpValues, name, value);
    case ValueKind::TextureArg: return Lookup(TextureArgValues, name, value);
    default: return false;
    }
}

// ------------------------------------------------------- declarations

struct FloatDecl {
    EffectFloatParameter parameter;
    int line = 0;
};

struct ShaderBinding {
    std::string parameter;
    char registerKind = 'c';
    uint16_t index = 0;
    int line = 0;
};

struct ShaderDecl {
    bool pixel = false;
    std::string assembly;
    int firstLine = 0;
    int line = 0;
    std::vector<ShaderBinding> bindings;
    std::vector<uint8_t> bytecode;
};

struct ParameterInfo {
    enum Kind { Float, Texture, Sampler } kind;
    std::size_t index;
};

class Parser {
public:
    explicit Parser(const std::string& text) : lexer(text) {}

    std::vector<uint8_t> Compile()
    {
        while (lexer.Peek().kind != Token::End)
            Declaration();
        if (techniques.empty())
            throw EffectSourceError(lexer.Peek().line, "the effect has no technique");
        return Build();
    }

private:
    void Declaration()
    {
        const Token token = lexer.Take();
        if (token.kind != Token::Name)
            throw EffectSourceError(token.line, "expected a declaration, found '" + token.text + "'");
        const std::string keyword = Lower(token.text);
        if (keyword.rfind("float", 0) == 0)
            FloatDeclaration(token);
        else if (keyword == "texture")
            TextureDeclaration();
        else if (keyword == "sampler" || keyword == "sampler2d")
            SamplerDeclaration();
        else if (keyword == "vertexshader" || keyword == "pixelshader")
            ShaderDeclaration(keyword == "pixelshader");
        else if (keyword == "technique")
            TechniqueDeclaration();
        else
            throw EffectSourceError(token.line, "unknown declaration '" + token.text + "'");
        // A stray ';' after a closing brace is harmless.
        while (lexer.Peek().kind == Token::Symbol && lexer.Peek().text == ";")
            lexer.Take();
    }

    std::string NewName(const char* what)
    {
        const Token name = lexer.Take();
        if (name.kind != Token::Name)
            throw EffectSourceError(name.line, std::string("expected the name of the ") + what);
        if (names.count(name.text))
            throw EffectSourceError(name.line, "'" + name.text + "' is declared twice");
        names.insert({name.text, name.line});
        return name.text;
    }

    void Expect(const char* symbol)
    {
        const Token token = lexer.Take();
        if (token.kind != Token::Symbol || token.text != symbol)
            throw EffectSourceError(token.line, std::string("expected '") + symbol + "', found '" +
                                                    (token.kind == Token::End ? "end of file" : token.text) +
                                                    "'");
    }

    bool Accept(const char* symbol)
    {
        if (lexer.Peek().kind == Token::Symbol && lexer.Peek().text == symbol) {
            lexer.Take();
            return true;
        }
        return false;
    }

    // float, floatN, floatRxC.
    void FloatDeclaration(const Token& typeToken)
    {
        const std::string shape = Lower(typeToken.text).substr(5);
        EffectFloatParameter parameter;
        if (shape.empty()) {
            parameter.valueClass = EffectValueClass::Scalar;
        } else if (shape.size() == 1 && shape[0] >= '1' && shape[0] <= '4') {
            parameter.valueClass = EffectValueClass::Vector;
            parameter.columns = static_cast<uint32_t>(shape[0] - '0');
        } else if (shape.size() == 3 && shape[1] == 'x' && shape[0] >= '1' && shape[0] <= '4' && shape[2] >= '1' &&
                   shape[2] <= '4') {
            // The parameter is row-major as the program's matrices are; its
            // shader constant is column-major (below), which makes the
            // framework upload the transpose, so that dp4 against
            // c<n>..c<n+columns-1> gives the row-vector product.
            parameter.valueClass = EffectValueClass::MatrixRows;
            parameter.rows = static_cast<uint32_t>(shape[0] - '0');
            parameter.columns = static_cast<uint32_t>(shape[2] - '0');
        } else {
            throw EffectSourceError(typeToken.line, "unknown type '" + typeToken.text + "'");
        }
        const int line = typeToken.line;
        parameter.name = NewName("parameter");
        if (Accept(":")) {
            const Token semantic = lexer.Take();
            if (semantic.kind != Token::Name)
                throw EffectSourceError(semantic.line, "expected a semantic after ':'");
            parameter.semantic = semantic.text;
        }
        const std::size_t count = static_cast<std::size_t>(parameter.rows) * parameter.columns;
        if (Accept("=")) {
            const bool braced = Accept("{");
            do
                parameter.value.push_back(ParseFloat(lexer.Take()));
            while (Accept(","));
            if (braced)
                Expect("}");
            if (parameter.value.size() != count)
                throw EffectSourceError(line, "'" + parameter.name + "' needs " + std::to_string(count) +
                                                  " initial values, has " + std::to_string(parameter.value.size()));
        } else {
            parameter.value.assign(count, 0.0f);
        }
        Expect(";");
        parameters[parameter.name] = {ParameterInfo::Float, floats.size()};
        order.push_back(parameter.name);
        floats.push_back({parameter, line});
    }

    void TextureDeclaration()
    {
        const std::string name = NewName("texture");
        Expect(";");
        parameters[name] = {ParameterInfo::Texture, textures.size()};
        order.push_back(name);
        textures.push_back(name);
    }

    void SamplerDeclaration()
    {
        EffectSamplerParameter sampler;
        sampler.name = NewName("sampler");
        Expect("{");
        while (!Accept("}"))
            sampler.states.push_back(State(true));
        parameters[sampler.name] = {ParameterInfo::Sampler, samplers.size()};
        order.push_back(sampler.name);
        samplers.push_back(sampler);
    }

    void ShaderDeclaration(bool pixel)
    {
        ShaderDecl shader;
        shader.pixel = pixel;
        shader.line = lexer.Peek().line;
        const std::string name = NewName(pixel ? "pixel shader" : "vertex shader");
        Expect("(");
        if (!Accept(")")) {
            do
                shader.bindings.push_back(Binding());
            while (Accept(","));
            Expect(")");
        }
        Expect("{");
        shader.assembly = lexer.RawBody(shader.firstLine);
        // Assembled at once: the parameters it binds are declared before it.
        Assemble(name, shader);
        shaders[name] = shader;
    }

    ShaderBinding Binding()
    {
        ShaderBinding binding;
        const Token name = lexer.Take();
        if (name.kind != Token::Name)
            throw EffectSourceError(name.line, "expected a parameter name in the shader's bindings");
        binding.parameter = name.text;
        binding.line = name.line;
        Expect("=");
        const Token reg = lexer.Take();
        const std::string text = Lower(reg.text);
        if (reg.kind != Token::Name || text.size() < 2 || (text[0] != 'c' && text[0] != 's') ||
            text.find_first_not_of("0123456789", 1) != std::string::npos)
            throw EffectSourceError(reg.line, "expected a register such as c0 or s0, found '" + reg.text + "'");
        binding.registerKind = text[0];
        binding.index = static_cast<uint16_t>(std::atoi(text.c_str() + 1));
        return binding;
    }

    void TechniqueDeclaration()
    {
        EffectTechnique technique;
        technique.name = NewName("technique");
        Expect("{");
        while (!Accept("}")) {
            const Token keyword = lexer.Take();
            if (keyword.kind != Token::Name || Lower(keyword.text) != "pass")
                throw EffectSourceError(keyword.line, "expected 'pass' in technique '" + technique.name + "'");
            EffectPass pass;
            const Token name = lexer.Take();
            if (name.kind != Token::Name)
                throw EffectSourceError(name.line, "expected the pass's name");
            pass.name = name.text;
            Expect("{");
            while (!Accept("}"))
                pass.states.push_back(State(false));
            technique.passes.push_back(std::move(pass));
        }
        if (technique.passes.empty())
            throw EffectSourceError(lexer.Peek().line, "technique '" + technique.name + "' has no pass");
        techniques.push_back(std::move(technique));
    }

    // Name [ '[' index ']' ] '=' value ';'
    EffectPassState State(bool inSampler)
    {
        const Token name = lexer.Take();
        if (name.kind != Token::Name)
            throw EffectSourceError(name.line, "expected a state name, found '" + name.text + "'");
        const std::string lower = Lower(name.text);
        bool hasIndex = false;
        uint32_t index = 0;
        if (Accept("[")) {
            hasIndex = true;
            index = ParseUnsigned(lexer.Take());
            Expect("]");
        }
        const StateInfo* info = nullptr;
        for (const StateInfo& candidate : States)
            if (lower == candidate.name && candidate.sampler == inSampler && (candidate.indexed == hasIndex || !hasIndex))
                info = &candidate;
        if (!info)
            throw EffectSourceError(name.line, "unknown " + std::string(inSampler ? "sampler" : "pass") +
                                                   " state '" + name.text + "'");
        if (info->indexed && !hasIndex)
            throw EffectSourceError(name.line, "state '" + name.text + "' needs a stage index, e.g. [0]");
        Expect("=");

        EffectPassState state;
        state.operation = info->operation;
        state.index = index;
        const Token value = lexer.Take();
        switch (info->kind) {
        case ValueKind::VertexShader:
        case ValueKind::PixelShader: {
            auto shader = shaders.find(value.text);
            if (value.kind != Token::Name || shader == shaders.end())
                throw EffectSourceError(value.line, "'" + value.text + "' is not a declared shader");
            if (shader->second.pixel != (info->kind == ValueKind::PixelShader))
                throw EffectSourceError(value.line, "'" + value.text + "' is not a " +
                                                        (shader->second.pixel ? "vertex" : "pixel") + " shader");
            state.kind = EffectStateKind::Shader;
            state.shader = shader->second.bytecode;
            break;
        }
        case ValueKind::TextureName: {
            auto parameter = parameters.find(value.text);
            if (parameter == parameters.end() || parameter->second.kind != ParameterInfo::Texture)
                throw EffectSourceError(value.line, "'" + value.text + "' is not a declared texture");
            state.kind = EffectStateKind::TextureName;
            state.textureName = value.text;
            break;
        }
        case ValueKind::Float:
            state.kind = EffectStateKind::Float;
            state.floatValue = ParseFloat(value);
            break;
        default: {
            state.value = Term(info->kind, value);
            while (Accept("|"))
                state.value |= Term(info->kind, lexer.Take());
            break;
        }
        }
        Expect(";");
        return state;
    }

    uint32_t Term(ValueKind kind, const Token& token)
    {
        if (token.kind == Token::Number)
            return ParseUnsigned(token);
        uint32_t value = 0;
        if (token.kind == Token::Name && LookupNamed(kind, Lower(token.text), value))
            return value;
        throw EffectSourceError(token.line, "'" + token.text + "' is not a value of this state");
    }

    // ------------------------------------------------------- building

    // The shader's assembly, padded with newlines so that its lines are the
    // source's; with bodyLines, only that many lines of the body.
    static std::string AssemblyText(const ShaderDecl& shader, std::size_t bodyLines = std::string::npos)
    {
        std::string body = shader.assembly;
        std::size_t at = 0;
        for (std::size_t i = 0; i < bodyLines && at != std::string::npos; ++i)
            at = body.find('\n', i == 0 ? 0 : at + 1);
        if (bodyLines != std::string::npos && at != std::string::npos)
            body.resize(at);
        return std::string(static_cast<std::size_t>(shader.firstLine - 1), '\n') + body;
    }

    // Assembles; the bytecode, or empty with the assembler's message.
    static std::vector<uint8_t> AssembleText(const std::string& text, std::string& message)
    {
        ID3DXBuffer* code = nullptr;
        ID3DXBuffer* errors = nullptr;
        const HRESULT hr = D3DXAssembleShader(text.c_str(), static_cast<UINT>(text.size()), nullptr, nullptr, 0,
                                              &code, &errors);
        message.clear();
        if (errors) {
            message.assign(static_cast<const char*>(errors->GetBufferPointer()), errors->GetBufferSize());
            errors->Release();
        }
        std::vector<uint8_t> bytecode;
        if (SUCCEEDED(hr) && code) {
            const uint8_t* bytes = static_cast<const uint8_t*>(code->GetBufferPointer());
            bytecode.assign(bytes, bytes + code->GetBufferSize());
        }
        if (code)
            code->Release();
        return bytecode;
    }

    void Assemble(const std::string& name, ShaderDecl& shader)
    {
        std::string message;
        const std::vector<uint8_t> bytecode = AssembleText(AssemblyText(shader), message);
        const std::vector<Statement> statements = Statements(shader);
        if (bytecode.empty())
            throw EffectSourceError(FailingStatementLine(shader, statements, message),
                                    "shader '" + name + "' does not assemble: " + FirstLine(message));

        uint32_t version = 0;
        std::memcpy(&version, bytecode.data(), sizeof version);
        if (((version >> 16) == 0xFFFF) != shader.pixel)
            throw EffectSourceError(shader.firstLine, "shader '" + name + "' is declared a " +
                                                          (shader.pixel ? "pixel" : "vertex") +
                                                          " shader but its assembly is not");
        const std::vector<ShaderConstant> constants = Constants(name, shader);
        ShaderViolation violation;
        if (FindShaderViolation(bytecode, violation))
            throw EffectSourceError(ViolationLine(shader, statements, violation),
                                    "shader '" + name + "': " + violation.message);
        shader.bytecode = InsertConstantTable(bytecode, constants);
    }

    // One statement of a shader body: its line, its instruction name and its
    // first operand's register (lower case).
    struct Statement {
        int line;
        std::string instruction;
        std::string operand;
    };

    // The body's statements, one a line, past comments and blank lines.
    static std::vector<Statement> Statements(const ShaderDecl& shader)
    {
        std::vector<Statement> statements;
        const std::string& body = shader.assembly;
        int line = shader.firstLine;
        bool inComment = false;
        for (std::size_t start = 0; start <= body.size(); ++line) {
            std::size_t end = body.find('\n', start);
            if (end == std::string::npos)
                end = body.size();
            std::string code;
            for (std::size_t i = start; i < end; ++i) {
                if (inComment) {
                    if (body.compare(i, 2, "*/") == 0) {
                        inComment = false;
                        ++i;
                    }
                } else if (body.compare(i, 2, "/*") == 0) {
                    inComment = true;
                    ++i;
                } else if (body.compare(i, 2, "//") == 0 || body[i] == ';') {
                    break;
                } else {
                    code += static_cast<char>(std::tolower(static_cast<unsigned char>(body[i])));
                }
            }
            std::istringstream words(code);
            Statement statement{line, "", ""};
            if (words >> statement.instruction) {
                words >> statement.operand;
                statement.operand = statement.operand.substr(0, statement.operand.find_first_of(".,"));
                statements.push_back(statement);
            }
            start = end + 1;
        }
        return statements;
    }

    static bool IsSetup(const Statement& statement)
    {
        return statement.instruction.compare(0, 3, "dcl") == 0 || statement.instruction.compare(0, 3, "def") == 0;
    }

    // The line the validator's finding is on: a declaration by the register
    // it names, another instruction by its place among the instructions
    // that compute or sample, the version as the first statement.
    static int ViolationLine(const ShaderDecl& shader, const std::vector<Statement>& statements,
                             const ShaderViolation& violation)
    {
        if (statements.empty())
            return shader.firstLine;
        if (!violation.declaration.empty()) {
            for (const Statement& statement : statements)
                if (IsSetup(statement) && statement.operand == Lower(violation.declaration))
                    return statement.line;
            return statements.front().line;
        }
        std::size_t executed = 0;
        for (std::size_t i = 1; i < statements.size(); ++i)
            if (!IsSetup(statements[i]) && ++executed == violation.instruction)
                return statements[i].line;
        return violation.instruction == 0 ? statements.front().line : statements.back().line;
    }

    // The assembler names the line it noticed a mistake on, which for some
    // mistakes is the line after; the line is the first statement with
    // which the shader's beginning no longer assembles.
    static int FailingStatementLine(const ShaderDecl& shader, const std::vector<Statement>& statements,
                                    const std::string& message)
    {
        std::string ignored;
        for (const Statement& statement : statements) {
            const std::size_t bodyLines = static_cast<std::size_t>(statement.line - shader.firstLine + 1);
            if (AssembleText(AssemblyText(shader, bodyLines), ignored).empty())
                return statement.line;
        }
        return AssemblerLine(message, shader.firstLine);
    }

    static std::string FirstLine(const std::string& message)
    {
        std::string line = message.substr(0, message.find('\n'));
        while (!line.empty() && (line.back() == '\r' || line.back() == '\0'))
            line.pop_back();
        return line.empty() ? "the assembler gave no reason" : line;
    }

    // The line the assembler names ("Line 12: ..." or "(12,3): ..."), else
    // the body's first.
    static int AssemblerLine(const std::string& message, int fallback)
    {
        const std::string lower = Lower(message.substr(0, message.find('\n')));
        for (const char* marker : {"line ", "("}) {
            const std::size_t at = lower.find(marker);
            if (at != std::string::npos) {
                const int line = std::atoi(lower.c_str() + at + std::strlen(marker));
                if (line > 0)
                    return line;
            }
        }
        return fallback;
    }

    std::vector<ShaderConstant> Constants(const std::string& shaderName, const ShaderDecl& shader)
    {
        std::vector<ShaderConstant> constants;
        for (const ShaderBinding& binding : shader.bindings) {
            auto found = parameters.find(binding.parameter);
            if (found == parameters.end())
                throw EffectSourceError(binding.line, "shader '" + shaderName + "' binds '" + binding.parameter +
                                                          "', which is not declared before it");
            ShaderConstant constant;
            constant.name = binding.parameter;
            constant.registerIndex = binding.index;
            if (found->second.kind == ParameterInfo::Sampler) {
                if (binding.registerKind != 's')
                    throw EffectSourceError(binding.line, "sampler '" + binding.parameter + "' needs an s register");
                constant.registerSet = ShaderRegisterSet::Sampler;
                constant.valueClass = static_cast<uint16_t>(EffectValueClass::Object);
                constant.valueType = static_cast<uint16_t>(EffectValueType::Sampler2D);
            } else if (found->second.kind == ParameterInfo::Float) {
                if (binding.registerKind != 'c')
                    throw EffectSourceError(binding.line, "'" + binding.parameter + "' needs a c register");
                const EffectFloatParameter& p = floats[found->second.index].parameter;
                constant.registerSet = ShaderRegisterSet::Float4;
                const bool matrix = p.valueClass == EffectValueClass::MatrixRows;
                constant.valueClass =
                    static_cast<uint16_t>(matrix ? EffectValueClass::MatrixColumns : p.valueClass);
                constant.valueType = static_cast<uint16_t>(EffectValueType::Float);
                constant.rows = static_cast<uint16_t>(p.rows);
                constant.columns = static_cast<uint16_t>(p.columns);
                // A column-major matrix takes one register per column.
                constant.registerCount = static_cast<uint16_t>(matrix ? p.columns : 1);
            } else {
                throw EffectSourceError(binding.line, "texture '" + binding.parameter +
                                                          "' cannot be bound: bind a sampler that reads it");
            }
            constants.push_back(constant);
        }
        return constants;
    }

    std::vector<uint8_t> Build()
    {
        CompiledEffectWriter writer;
        for (const std::string& name : order) {
            const ParameterInfo& info = parameters[name];
            if (info.kind == ParameterInfo::Float)
                writer.AddParameter(floats[info.index].parameter);
            else if (info.kind == ParameterInfo::Texture)
                writer.AddTexture(textures[info.index]);
            else
                writer.AddSampler(samplers[info.index]);
        }
        for (const EffectTechnique& technique : techniques)
            writer.AddTechnique(technique.name).passes = technique.passes;
        return writer.Write();
    }

    Lexer lexer;
    std::map<std::string, int> names;
    std::map<std::string, ParameterInfo> parameters;
    std::vector<std::string> order;
    std::vector<FloatDecl> floats;
    std::vector<std::string> textures;
    std::vector<EffectSamplerParameter> samplers;
    std::map<std::string, ShaderDecl> shaders;
    std::vector<EffectTechnique> techniques;
};

} // namespace

std::vector<uint8_t> CompileEffectSource(const std::string& text)
{
    Parser parser(text);
    return parser.Compile();
}
