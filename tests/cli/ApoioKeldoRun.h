// Runs the real keldo-run in a fresh temporary folder and reads what it left.
#pragma once
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct Saida {
    int status = -1;
    std::string out;
    std::string err;
};

class KeldoRun : public ::testing::Test {
  protected:
    std::filesystem::path pasta;

    void SetUp() override {
        static std::atomic<int> contador{0};
        pasta = std::filesystem::temp_directory_path() /
                ("keldo_run_" + std::to_string(::getpid()) + "_" + std::to_string(contador++));
        std::filesystem::create_directories(pasta);
    }
    void TearDown() override { std::filesystem::remove_all(pasta); }

    static std::string citar(const std::string& s) {
        std::string r(1, '\'');
        for (char c : s) {
            if (c == '\'')
                r.append("'\\''");
            else
                r.push_back(c);
        }
        r.push_back('\'');
        return r;
    }

    // keldo-run with these arguments, run inside `pasta`.
    Saida rodar(const std::vector<std::string>& args) const { return rodarApos("", args); }

    // The same after shell commands (limits, redirections) that bind keldo-run only.
    Saida rodarApos(const std::string& comandos, const std::vector<std::string>& args) const {
        return rodarPrograma(KELDO_RUN_PATH, comandos, args);
    }

    // The tests' keldo-run, whose run K throws after cycle C when
    // KELDO_RUN_FALHA_DE_TESTE=K:C is among the commands before it.
    Saida rodarComFalhas(const std::string& comandos, const std::vector<std::string>& args) const {
        return rodarPrograma(KELDO_RUN_FALHAS_PATH, comandos, args);
    }

    Saida rodarPrograma(const char* programa, const std::string& comandos,
                        const std::vector<std::string>& args) const {
        std::string cmd = "cd ";
        cmd.append(citar(pasta.string())).append(" && (").append(comandos).append(" ");
        cmd.append(citar(programa));
        for (const std::string& a : args) {
            cmd += ' ';
            cmd += citar(a);
        }
        const auto out = pasta / ".stdout", err = pasta / ".stderr";
        cmd.append(") >").append(citar(out.string())).append(" 2>").append(citar(err.string()));
        const int w = std::system(cmd.c_str());
        Saida s;
        s.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
        s.out = ler(".stdout");
        s.err = ler(".stderr");
        std::filesystem::remove(out);
        std::filesystem::remove(err);
        return s;
    }

    // keldo-run started in `pasta` and left running, its output thrown away;
    // the caller waits for it. The child's pid, or -1.
    pid_t iniciar(const std::vector<std::string>& args) const {
        const pid_t pid = ::fork();
        if (pid != 0)
            return pid;
        if (::chdir(pasta.c_str()) != 0)
            ::_exit(127);
        const int nulo = ::open("/dev/null", O_WRONLY);
        ::dup2(nulo, 1);
        ::dup2(nulo, 2);
        std::vector<char*> argv{const_cast<char*>(KELDO_RUN_PATH)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(KELDO_RUN_PATH, argv.data());
        ::_exit(127);
    }

    std::string caminho(const std::string& nome) const { return (pasta / nome).string(); }
    bool existe(const std::string& nome) const { return std::filesystem::exists(pasta / nome); }

    std::string ler(const std::string& nome) const {
        std::ifstream f(pasta / nome, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    void escrever(const std::string& nome, const std::string& conteudo) const {
        std::ofstream(pasta / nome, std::ios::binary) << conteudo;
    }
    std::vector<std::string> arquivos() const {
        std::vector<std::string> nomes;
        for (const auto& e : std::filesystem::directory_iterator(pasta))
            nomes.push_back(e.path().filename().string());
        return nomes;
    }
};
