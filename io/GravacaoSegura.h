#pragma once
#include <cstddef>
#include <string>

namespace keldo::io {

// Replaces a whole file so that a failure never destroys the previous one.
//
// The name is followed through symbolic links to the file they name (the
// links stay). A regular file is written to a new temporary file beside it,
// created exclusively under a name nobody can foresee
// (".<name>.XXXXXX.tmp~"), given the target's mode, synced and renamed over
// it; every failure removes it. A temporary left by a program that died
// before its rename is removed by the next save of that name (it is found
// by its pattern, and one still being written is recognised by its lock).
// A target that exists and is not a regular file (a device, a FIFO) is
// written directly, never replaced. Where the folder refuses new files but
// the file itself may be written, the file is rewritten in place: the one
// case in which a failure can leave it damaged. A target without any write
// permission is never written.
//
// Failures are kept as an errno value.
class GravacaoSegura {
  public:
    explicit GravacaoSegura(const std::string& destino);
    ~GravacaoSegura();
    GravacaoSegura(const GravacaoSegura&) = delete;
    GravacaoSegura& operator=(const GravacaoSegura&) = delete;

    bool aberta() const { return fd >= 0; }
    // Room for `total` bytes, asked for before a write in place, so that a
    // full disk is found before the old content is touched.
    void reservar(size_t total);
    bool escrever(const void* dados, size_t n);
    // Puts the new content in place; false (and `erro`) when it could not.
    bool concluir();
    // Puts the new content under `outro` instead, a new name in the target's
    // folder, never replacing a file there: 0, EEXIST when `outro` exists
    // (try another name), or the errno of the failure, after which the
    // content stays in `mantido()`.
    int concluirComo(const std::string& outro);
    // The temporary kept with a whole content that could not be put in place; empty when none.
    const std::string& mantido() const { return temporarioMantido; }
    // True when the target is a device or a FIFO, written as the bytes come.
    bool direta() const { return modo == Modo::direto; }
    // errno of the first failure; 0 while none.
    int erro() const { return erroSistema; }
    // True when the file is being rewritten in place (the folder refused the temporary).
    bool noLugar() const { return modo == Modo::noLugar; }

    // The whole file at once; 0 or the errno of the failure.
    static int gravar(const std::string& destino, const void* dados, size_t n);
    // Whether `destino` could be saved now, leaving nothing behind; 0 or an errno.
    static int verificar(const std::string& destino);
    // The reason for an errno value, in English whatever the locale.
    static std::string descricao(int erro);

  private:
    enum class Modo { nenhum, temporario, direto, noLugar };
    bool abrir(const std::string& destino);
    bool criarTemporario();
    bool falhar(int e);
    void abandonar();

    std::string alvo;       // the target, links resolved
    std::string temporario; // its temporary, while one exists
    std::string temporarioMantido;
    Modo modo = Modo::nenhum;
    int fd = -1;
    int erroSistema = 0;
    bool existia = false;
    unsigned modoAlvo = 0; // permission bits of the existing target
    unsigned donoAlvo = 0, grupoAlvo = 0;
    size_t escritos = 0;
};

} // namespace keldo::io
