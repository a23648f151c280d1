#pragma once
#include <cstddef>
#include <string>

namespace keldo::io {

// Replaces a whole file so that a failure never destroys the previous one.
//
// The name is followed through symbolic links to the file they name (the
// links stay), except a link that another user planted in a shared folder
// (sticky and world-writable): one owned by neither this user nor the
// folder's owner is refused with `erroLigacaoAlheia`, as the kernel's
// protected_symlinks would. A regular file is written to a new temporary
// file beside it, created exclusively under a name nobody can foresee
// (".<name>.XXXXXX.tmp~"), given the target's permission bits (never
// setuid/setgid), owner where allowed and extended attributes where the
// file system keeps them, synced and renamed over it. A temporary left by a
// program that died before its rename is removed by the next save of that
// name (it is found by its pattern, and one still being written is
// recognised by its lock). A target that exists and is not a regular file
// (a device, a FIFO) is written directly, never replaced.
//
// Some targets are rewritten in place instead, from a whole temporary copy,
// with room reserved first, then truncated and synced: a file with more
// than one hard link (so that every name sees the new content); a file
// whose folder refuses new files but which may itself be written (the copy
// is built in $TMPDIR, default /tmp, as ".<name>.XXXXXX.tmp~", mode 0600);
// and a file the final rename could not replace (a bind mount gives EBUSY,
// another user's file in a sticky folder EPERM). Only if $TMPDIR cannot
// take the copy (it cannot be created there, or fills up) is the file
// written directly in place as the content comes, the one case in which a
// failure in the middle can leave it damaged. A complete result is never
// deleted: when it cannot be put in place it is kept where it was made
// (beside the target, or in $TMPDIR) as "<name>.novo-XXXXXX", which no
// cleanup takes (or under its temporary name if even that rename fails),
// and `mantido` names it. A target without any write permission is never
// written.
//
// Failures are kept as an errno value, or `erroLigacaoAlheia`.
class GravacaoSegura {
  public:
    // Not an errno (those stay below 4096): a link planted by another user
    // in a shared folder was not followed. `descricao` words it.
    static constexpr int erroLigacaoAlheia = 4096;

    explicit GravacaoSegura(const std::string& destino);
    ~GravacaoSegura();
    GravacaoSegura(const GravacaoSegura&) = delete;
    GravacaoSegura& operator=(const GravacaoSegura&) = delete;

    bool aberta() const { return fd >= 0; }
    // Room for `total` bytes, asked for before a direct write in place, so
    // that a full disk is found before the old content is touched.
    void reservar(size_t total);
    bool escrever(const void* dados, size_t n);
    // Puts the new content in place; false (and `erro`) when it could not.
    bool concluir();
    // Puts the new content under `outro` instead, a new name in the target's
    // folder, never replacing a file there: 0, EEXIST when `outro` exists
    // (try another name), or the failure's code, after which the content
    // stays in `mantido()`.
    int concluirComo(const std::string& outro);
    // True when the target is a device or a FIFO, written as the bytes come.
    bool direta() const { return modo == Modo::direto; }
    // errno of the first failure (or erroLigacaoAlheia); 0 while none.
    int erro() const { return erroSistema; }
    // True when the file is rewritten in place rather than replaced.
    bool noLugar() const;
    // The temporary kept with a whole content that could not be put in place; empty when none.
    const std::string& mantido() const { return temporarioMantido; }

    // The whole file at once; 0 or the failure's code. A kept result is
    // named in `*mantido` when given.
    static int gravar(const std::string& destino, const void* dados, size_t n,
                      std::string* mantido = nullptr);
    // Whether `destino` could be saved now, leaving nothing behind; 0 or the failure's code.
    static int verificar(const std::string& destino);
    // The reason for a failure's code, in English whatever the locale.
    static std::string descricao(int erro);

  private:
    enum class Modo { nenhum, temporario, direto, noLugar };
    bool abrir(const std::string& destino);
    bool abrirCopiaNoLugar();
    bool passarParaDireto();
    bool concluirTemporario();
    bool porNoLugar(int e);
    void ajustarComoAlvo();
    void manterTemporario();
    bool falhar(int e);
    void abandonar();

    std::string alvo;       // the target, links resolved
    std::string temporario; // its temporary, while one exists
    std::string temporarioMantido;
    Modo modo = Modo::nenhum;
    int fd = -1;
    int fdAlvo = -1;          // the target, open to be rewritten in place from the temporary
    bool foraDaPasta = false; // the temporary is in $TMPDIR
    int erroSistema = 0;
    bool existia = false;
    unsigned modoAlvo = 0; // permission bits of the existing target
    unsigned donoAlvo = 0, grupoAlvo = 0;
    size_t escritos = 0;
};

} // namespace keldo::io
