// Statements, signals, scopes, calls and expressions, as script texts and
// the output they give.
#include "tests/script/ScriptFixture.h"

namespace qvtest {
namespace {

class InterpreterTest : public ScriptTest {};

TEST_F(InterpreterTest, StatementsAndSignals) {
    static const TScriptCase cases[] = {
        // return at the top level stops; the rest is still parsed
        {"print(1); return; print(2);", "1"},
        {"print(1); return; print(2) x;", "1@(1): ';' expected at col 28\n"},
        // break inside a function outside a loop is not consumed by the call
        {"func f() { break; } f(); print(2);", ""},
        {"while (true) { func g() { break; } g(); print(1); } print(3);", "3"},
        // for with an empty condition loops until break
        {"i = 0; for (;;) { i++; if (i == 3) break; } print(i);", "3"},
        {"for (i = 0; i < 3; i++) print(i); print(\"/\", i);", "012/3"},
        {"for (i = 5; i < 3; i++) print(i); print(i);", "5"},
        {"func f(n) { for (i = 0; ; i++) if (i == n) return i * 10; } print(f(4));", "40"},
        // a function in an untaken if is defined; the first definition wins
        {"if (false) { func f() { return 1; } } print(f());", "1"},
        {"func f() { return 1; } func f() { return 2; } print(f());", "1"},
        {"print(f()); func f() { return 1; }", "@(1): Unknown function at col 7\n"},
        {"i = 0; while (i < 3) { i++; if (i == 2) continue2 = 1; } print(i);", "3"},
        {"i = 0; do { i++; } while (i < 5); print(i);", "5"},
        {"i = 0; do { i++; break; } while (true); print(i);", "1"},
        {"if (1) print(\"a\"); else print(\"b\"); if (0) print(\"c\"); else print(\"d\");", "ad"},
        // a signal in the taken branch stays in force past its else branch
        {"func f() { if (true) return 1; else print(\"x\"); print(\"y\"); return 2; } print(f());", "1"},
        {"for (x : [1, 2, 3]) print(x); print(x);", "1233"},
        {"for (x : {\"a\": 1, \"b\": 2}) print(x);", "[\"a\",1][\"b\",2]"},
        {"for (x : []) print(x); print(\"end\");", "end"},
        {"for (x : [1, 2, 3]) { if (x == 2) break; print(x); } print(\"/\", x);", "1/2"},
        {"for (1 : [1]) print(2);", "@(1): Expression must be assignable for list iterator at col 6\n"},
        {"for (i = 0, 1) print(2);", "@(1): Syntax error in for condition at col 14\n"},
        {";", "@(1): Expression expected at col 1\n"},
        {"else x = 1;", "@(1): Unexpected keyword at col 1\n"},
        {"x = 1", "@(1): ';' expected at col 5\n"},
        {"{ x = 1;", "@(1): '}' expected at col 8\n"},
        {"do x = 1; until (x);", "@(1): 'while' expected at col 11\n"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST_F(InterpreterTest, FunctionsScopesAndParameters) {
    static const TScriptCase cases[] = {
        // a function sees only its parameters and its own variables
        {"g = 1; func f() { g = 2; return g; } print(f(), g);", "21"},
        {"func f() { return y; } y = 1; x = f(); print(typeOf(x));", "@(1): Undefined variable 'y' at col 35\n"},
        // a parameter holding the caller's variable writes through it
        {"func f(p) { p = 7; } a = 1; f(a); print(a);", "7"},
        // a converted argument is a new value
        {"func f(int p) { p = 7; } a = true; f(a); print(a);", "true"},
        {"func f(int p) { return p; } print(f(true));", "1"},
        {"func f(int p) { return p; } print(f(\"x\"));", "@(1): Type mismatch at col 37\n"},
        {"func f(a) { return a; } print(f(1, 2));", "@(1): Incorrect number of parameters at col 9\n"},
        {"func f(a, b) { return a; } print(f(1));", "@(1): Incorrect number of parameters at col 35\n"},
        {"func f(while a) { } f(1);", "@(1): Unexpected keyword: while at col 8\n"},
        {"func f(n) { if (n <= 1) return 1; return n * f(n - 1); } print(f(10));", "3628800"},
        // a function value runs in the scope it was made in
        {"f = func(a) { b = a + 1; }; f(4); print(a, b);", "45"},
        {"func mk() { n = 10; return func(d) { n = n + d; return n; }; } c = mk(); a = c(1); b = c(2); print(a, \",\", "
         "b);",
         "11,13"},
        {"f = 3; f();", "@(1): Attempt to call a non function value at col 8\n"},
        // mentioning a function's name makes a variable of it
        {"func f() { return 1; } x = typeOf(f); f();", "@(1): Attempt to call a non function value at col 39\n"},
        {"f = func() { f = 0; return 5; }; print(f(), f);", "50"},
        {"print(typeOf(func(a) { }));", "func"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST_F(InterpreterTest, OperatorsAndConversions) {
    static const TScriptCase cases[] = {
        {"print(7 / 2, \" \", -7 / 2, \" \", -7 % 2);", "3 -3 -1"},
        {"print(7 % 0);", "@(1): Integer division by zero at col 9\n"},
        {"print(7.0 / 0);", "@(1): Floating point division by zero at col 11\n"},
        {"print(7.5 % 2);", "@(1): Invalid operation on reals at col 14\n"},
        {"print(\"a\" % 2);", "@(1): Invalid operation on strings at col 14\n"},
        {"print(\"a\" - 2);", "@(1): Invalid operation on strings at col 11\n"},
        {"print(1 + 2.5, \" \", \"n=\" + 5, \" \", 5 + \"1\", \" \", 1 == true);", "3.5 n=5 51 true"},
        {"print(0 & f(), \" \", 1 | f());", "0 1"},
        {"print(1 && 2, 0 || 0);", "truefalse"},
        {"x = 1 < 2 < 3;", "@(1): ';' expected at col 11\n"},
        {"print(2 ^ 10);", "1024"},
        // precedence, and the levels that take one operator at most
        {"print(1 + 2 * 3 - 4 / 2, \" \", 2 * 3 ^ 2, \" \", 1 < 2 == true, \" \", 1 == 1 & 2 > 1 | 0);",
         "5 18 true true"},
        {"x = 1 + 2 == 3 == 3;", "@(1): ';' expected at col 16\n"},
        {"x = 2 ^ 2 + 1 ^ 2 ^ 2;", "@(1): ';' expected at col 19\n"},
        {"x = 1 == 2 < 3 < 4;", "@(1): ';' expected at col 16\n"},
        {"x = 2 ^ 3 ^ 2;", "@(1): ';' expected at col 11\n"},
        {"x = y;", "@(1): Undefined variable 'y' at col 5\n"},
        {"func f() { } x = f();", "@(1): Unexpected undefined value at col 21\n"},
        {"3 = 1;", "@(1): Invalid assignment left hand side at col 1\n"},
        {"3 = x;", "@(1): Undefined variable 'x' at col 5\n"},
        {"x = 5; x = !!x;", "@(1): Expression expected at col 13\n"},
        {"x = - -1;", "@(1): Expression expected at col 7\n"},
        {"x = -\"a\";", "@(1): Invalid operator for type at col 5\n"},
        {"x = true + true;", "@(1): Invalid operator for types at col 10\n"},
        {"print([1, \"a\", [2]], {\"k\": 1});", "[1,\"a\",[2]]{\"k\": 1}"},
        {"if (x) print(1);", "@(1): Undefined variable at col 8\n"},
        {"if ([1]) print(1);", "@(1): Invalid type for logical value at col 10\n"},
        {"x = [1] == [1];", "@(1): Simple type required at col 9\n"},
        {"x = 1 & [1];", "@(1): Simple type required at col 7\n"},
        {"print(1 == [1], \"a\" < \"b\", 2.5 > 2, \"10\" < \"9\");", "falsetruetruetrue"},
        // comparisons of equal values, of one kind and of kinds that promote
        {"print(1 <= 1, 2 >= 2, 1 < 1, 2 > 2, 1 <= 0, 0 >= 1);", "truetruefalsefalsefalsefalse"},
        {"print(-3 <= -3, -3 >= -3, 0.5 <= 0.5, 0.5 >= 0.5, 0.5 < 0.5, 0.5 > 0.5);", "truetruetruetruefalsefalse"},
        {"print(\"a\" <= \"a\", \"b\" >= \"b\", \"a\" < \"a\", \"b\" > \"b\", \"ab\" >= \"abc\", \"A\" >= \"a\");",
         "truetruefalsefalsefalsefalse"},
        {"print(1 <= 1.0, 2.0 >= 2, 1 <= \"1\", \"2\" >= 2, true <= 1, 1 >= true, 1.0 < 1, 2 > 2.0);",
         "truetruetruetruetruetruefalsefalse"},
        {"t = now(); u = t; print(t <= u, t >= u, t < u, t > u, false <= false, true >= true);",
         "truetruefalsefalsetruetrue"},
        {"print(1 == 1.0, \"a\" != \"a\", 2 != 2.0, \"1\" == 1);", "truefalsefalsetrue"},
        {"x++;", "@(1): Undefined variable at col 1\n"},
        {"x = \"a\"; x++;", "@(1): Invalid type for increment operator at col 10\n"},
        {"x = \"s\"; --x;", "@(1): Invalid type for decrement operator at col 12\n"},
        {"x = 1.5; --x; print(x);", "0.5"},
        {"x = 1; y = x++; z = ++x; print(x, y, z);", "313"},
        {"x = 1.5; x++; print(x);", "2.5"},
        // compound assignment
        {"x += 1; print(typeOf(x));", "undefined"},
        {"b = true; b += true; print(b);", "true"},
        {"s = \"a\"; t = \"b\"; s -= t;", "@(1): Invalid operation on strings at col 21\n"},
        {"s = \"a\"; s += 1; print(s);", "a1"},
        {"n = 10; n -= 3; n *= 2; n /= 4; print(n);", "3"},
        {"l = [1]; l += 2; l += [3]; print(l);", "[1,2,[3]]"},
        {"a = b = 3; print(a, b);", "33"},
        {"print(true ? 1 : 2, false ? 1 : 2);", "12"},
        // integer arithmetic wraps
        {"x = 9223372036854775807; x++; print(x);", "-9223372036854775808"},
        {"m = -9223372036854775807 - 1; print(m / -1, \" \", m % -1, \" \", -m);",
         "-9223372036854775808 0 -9223372036854775808"},
        {"print(9223372036854775807 * 2);", "-2"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST_F(InterpreterTest, ListsMapsAndReferences) {
    static const TScriptCase cases[] = {
        // lists are shared on assignment, simple values copied
        {"a = [1]; b = a; b += 2; print(a);", "[1,2]"},
        {"a = 5; b = a; b = 6; print(a);", "5"},
        {"l = [1, 2]; l[0] = 9; print(l);", "[9,2]"},
        {"l = [1, 2]; l[1] = [3]; print(l);", "[1,[3]]"},
        {"l = [1]; print(l[1]);", "@(1): List index out of range at col 20\n"},
        {"l = [1]; print(l[4294967296]);", "@(1): List index out of range at col 29\n"},
        {"l = [1]; print(l[-1]);", "@(1): List index out of range at col 21\n"},
        {"l = [1]; print(l[\"a\"]);", "@(1): List index must be an integer at col 18\n"},
        {"x = 5; print(x[0]);", "@(1): Subscript operator can only be used on list or map types at col 15\n"},
        {"m = {}; m.a.b = 1; print(m);", "{\"a\": {\"b\": 1}}"},
        {"m = {\"name\": 1}; print(m.name, m[\"name\"]);", "11"},
        {"m = {}; print(typeOf(m.x));", "undefined"},
        {"m = {}; x = m.x + 1;", "@(1): Invalid operator for types at col 17\n"},
        {"m = {}; for (e : m.x) print(e);", "@(1): Invalid operation for Undefined map item at col 23\n"},
        {"m = {1: \"i\", 1.0: \"r\", \"1\": \"s\"}; print(len(m), m);", "3{1: \"i\",1: \"r\",\"1\": \"s\"}"},
        {"m = {0: 1, 4294967296: 2}; print(m);", "{0: 1,4294967296: 2}"},
        {"m = {[1]: 1, [2]: 2}; print(len(m));", "1"},
        // a map item shared by a copy sees changes through a reference
        {"m = {\"a\": [1]}; l = m.a; l[0] = 5; print(m);", "{\"a\": [5]}"},
        {"[1, 2][0] = 3;", "@(1): Invalid assignment left hand side at col 1\n"},
        // a list that holds itself
        {"a = [1]; a += a; print(a, len(a));", "[1,[...]]2Leaked values:\nVariable 5\nVariable 6\n"},
        {"m = {}; m.self = m; print(m);", "{\"self\": {...}}Leaked values:\nVariable 5\nVariable 9\n"},
        {"a = [1]; a += a; b = a; b -= 1; print(\"ok\");", "okLeaked values:\nVariable 5\nVariable 6\n"},
        {"m = {\"a\": 1, \"b\": 2}; for (v : values(m)) print(v); print(keys(m));", "12[\"a\",\"b\"]"},
        {"m = {\"a\": 1}; v = values(m); v[0] = 5; print(m);", "{\"a\": 5}"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
}

}  // namespace
}  // namespace qvtest

namespace qvtest {
namespace {

class InterpreterLimitsTest : public ScriptTest {};

TEST_F(InterpreterLimitsTest, DeepNestingEndsTheScriptWithAnError) {
    static const TScriptCase cases[] = {
        {"func f(n) { return f(n + 1); } f(0);", "Nesting too deep"},
        {"l = []; for (i = 0; i < 20000; i++) l = [l]; print(l);", "Nesting too deep"},
        {"l = []; for (i = 0; i < 20000; i++) l = [l]; m = l; m -= 1;", "Nesting too deep"},
        // releasing it is no recursion
        {"l = []; for (i = 0; i < 20000; i++) l = [l]; l = 0; print(\"ok\");", "ok"},
    };
    for (const TScriptCase& c : cases) {
        SCOPED_TRACE(c.script);
        std::string output = Run(c.script);
        EXPECT_NE(std::string::npos, output.find(c.expected)) << output;
        EXPECT_EQ(std::string::npos, output.find("Leaked")) << output;
    }
    std::string nested = "x = " + std::string(20000, '(') + "1" + std::string(20000, ')') + ";";
    EXPECT_NE(std::string::npos, Run(nested).find("Nesting too deep at col "));
    std::string blocks = std::string(20000, '{') + std::string(20000, '}');
    EXPECT_NE(std::string::npos, Run(blocks).find("Nesting too deep at col "));
}

TEST_F(InterpreterLimitsTest, ABreakRequestStopsLoopsAndCalls) {
    // The budget ends a run as a break request does.
    budget = 1000;
    EXPECT_EQ(Expand("@(1): User Break at col 7\n"), Run("while (true) {}"));
    EXPECT_EQ(Expand("@(1): User Break at col 13\n"), Run("for (;;) {} x = 1;"));
    budget = 50;
    EXPECT_EQ(Expand("@(1): User Break at col 22\n"), Run("func f() { return f(); } f();"));
}

TEST_F(InterpreterLimitsTest, RunningOutOfMemoryEndsTheScriptWithAnError) {
    static const TScriptCase cases[] = {
        {"println(\"before\");\nm = {}; i = 0; while (true) { m[i] = i; i++; }",
         "before\r\n@(2): Out of memory at col "},
        {"println(\"before\");\nl = []; i = 0; while (true) l += [i++, \"x\"];",
         "before\r\n@(2): Out of memory at col "},
        {"println(\"before\");\nm = {}; i = 0;\nwhile (true) { m[i] = {\"n\": i, \"l\": [i]}; i++; }",
         "before\r\n@(3): Out of memory at col "},
    };
    memoryLimit = 4 << 20;
    for (const TScriptCase& c : cases) {
        SCOPED_TRACE(c.script);
        std::string output = Run(c.script);
        EXPECT_EQ(0u, output.find(Expand(c.expected))) << output;
        EXPECT_TRUE(failed);
        EXPECT_EQ(std::string::npos, output.find("Leaked")) << output;
    }
    // The next run starts with all of its memory.
    EXPECT_EQ("ok", Run("m = {}; for (i = 0; i < 1000; i++) m[i] = i; print(\"ok\");"));
}

TEST_F(InterpreterLimitsTest, FunctionValuesKeepTheirScopeAndCyclesAreFreedAtTheEnd) {
    static const TScriptCase cases[] = {
        {"func mk() { g = func() { return g; }; return g; } h = mk(); print(typeOf(h()));", "func"},
        {"f = func() { return f; }; print(typeOf(f()));", "func"},
        {"func mk(x) { return func() { return x; }; } a = mk(1); b = mk(2); print(a(), b());", "12"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
}

}  // namespace
}  // namespace qvtest
