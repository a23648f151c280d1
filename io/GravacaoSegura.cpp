#include "io/GravacaoSegura.h"
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace keldo::io {

namespace {
// Temporaries are ".<name>.XXXXXX.tmp~"; a long name is cut so that the
// temporary's name still fits the file system's limit.
constexpr size_t maiorNomeNoTemporario = 200;
constexpr size_t letrasAleatorias = 6;
constexpr const char* finalTemporario = ".tmp~";
// A kept result is "<name>.novo-XXXXXX", which no cleanup takes.
constexpr const char* marcaMantido = ".novo-";
constexpr int tentativasDeNome = 100;
constexpr size_t blocoDeCopia = 1 << 16;

struct Destino {
    std::string caminho; // links resolved
    std::string pasta;
    std::string nome;
    bool existe = false;
    struct stat st {};
};

std::string pastaDe(const std::string& caminho) {
    const size_t barra = caminho.rfind('/');
    if (barra == std::string::npos)
        return ".";
    return barra == 0 ? "/" : caminho.substr(0, barra);
}

std::string nomeDe(const std::string& caminho) {
    const size_t barra = caminho.rfind('/');
    return barra == std::string::npos ? caminho : caminho.substr(barra + 1);
}

// A link in a sticky world-writable folder whose owner is neither this user
// nor the folder's owner was planted there by someone else; like the
// kernel's protected_symlinks, it is not followed.
bool ligacaoAlheia(const std::string& ligacao, const struct stat& st) {
    struct stat pasta {};
    if (stat(pastaDe(ligacao).c_str(), &pasta) != 0)
        return false;
    const bool compartilhada = (pasta.st_mode & S_ISVTX) && (pasta.st_mode & S_IWOTH);
    return compartilhada && st.st_uid != geteuid() && st.st_uid != pasta.st_uid;
}

// Follows the links of the last name of the path, up to the file they name
// (which may not exist yet). 0 or the failure's code.
int resolver(const std::string& original, Destino& d) {
    d.caminho = original;
    for (int saltos = 0; saltos < 40; ++saltos) {
        if (lstat(d.caminho.c_str(), &d.st) != 0) {
            if (errno != ENOENT)
                return errno;
            d.existe = false;
            break;
        }
        if (!S_ISLNK(d.st.st_mode)) {
            d.existe = true;
            break;
        }
        if (ligacaoAlheia(d.caminho, d.st))
            return GravacaoSegura::erroLigacaoAlheia;
        char ligacao[PATH_MAX];
        const ssize_t n = readlink(d.caminho.c_str(), ligacao, sizeof ligacao - 1);
        if (n < 0)
            return errno;
        const std::string alvo(ligacao, static_cast<size_t>(n));
        d.caminho = alvo.front() == '/' ? alvo : pastaDe(d.caminho) + "/" + alvo;
        if (saltos == 39)
            return ELOOP;
    }
    d.nome = nomeDe(d.caminho);
    d.pasta = pastaDe(d.caminho);
    if (d.nome.empty() || (d.existe && S_ISDIR(d.st.st_mode)))
        return EISDIR;
    // Renaming over a file would get round a missing write permission.
    if (d.existe && S_ISREG(d.st.st_mode) && (d.st.st_mode & 0222) == 0)
        return EACCES;
    return 0;
}

std::string prefixoTemporario(const std::string& nome) {
    std::string prefixo(1, '.');
    prefixo.append(nome, 0, maiorNomeNoTemporario);
    prefixo += '.';
    return prefixo;
}

bool ehTemporario(const std::string& entrada, const std::string& prefixo) {
    const size_t fim = std::strlen(finalTemporario);
    return entrada.size() == prefixo.size() + letrasAleatorias + fim &&
           entrada.compare(0, prefixo.size(), prefixo) == 0 &&
           entrada.compare(entrada.size() - fim, fim, finalTemporario) == 0;
}

std::string letras() {
    static constexpr char alfabeto[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device fonte;
    uint64_t valor = (uint64_t(fonte()) << 32) ^ fonte();
    std::string s;
    for (size_t k = 0; k < letrasAleatorias; ++k, valor /= 62)
        s += alfabeto[valor % 62];
    return s;
}

// Removes the temporaries of this name that a program which died mid-save
// left behind: regular files of this user that nobody holds locked (a save
// in progress keeps its temporary locked).
void limparSobras(const Destino& d) {
    DIR* pasta = opendir(d.pasta.c_str());
    if (!pasta)
        return;
    const int dfd = dirfd(pasta);
    const std::string prefixo = prefixoTemporario(d.nome);
    while (const dirent* e = readdir(pasta)) {
        if (!ehTemporario(e->d_name, prefixo))
            continue;
        const int f = openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (f < 0)
            continue;
        struct stat aberto {
        }, agora{};
        if (fstat(f, &aberto) == 0 && S_ISREG(aberto.st_mode) && aberto.st_uid == geteuid() &&
            flock(f, LOCK_EX | LOCK_NB) == 0 &&
            fstatat(dfd, e->d_name, &agora, AT_SYMLINK_NOFOLLOW) == 0 &&
            agora.st_ino == aberto.st_ino && agora.st_dev == aberto.st_dev)
            unlinkat(dfd, e->d_name, 0);
        close(f);
    }
    closedir(pasta);
}

// Creates a new temporary for `nome` in `pasta`, never following a planted
// name; open for reading too, so that it can be copied in place.
int criarExclusivo(const std::string& pasta, const std::string& nomeAlvo, mode_t modo,
                   std::string& nome) {
    for (int k = 0; k < tentativasDeNome; ++k) {
        nome = pasta + "/" + prefixoTemporario(nomeAlvo) + letras() + finalTemporario;
        const int fd = open(nome.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modo);
        if (fd >= 0) {
            flock(fd, LOCK_EX | LOCK_NB);
            return fd;
        }
        if (errno != EEXIST)
            break;
    }
    nome.clear();
    return -1;
}

int criarTemporarioEm(const Destino& d, std::string& nome) {
    const mode_t modo = d.existe ? ((d.st.st_mode & 0777) | S_IRUSR | S_IWUSR) : 0666;
    return criarExclusivo(d.pasta, d.nome, modo, nome);
}

// The copy of a file to be rewritten in place, made in $TMPDIR for this user only.
int criarTemporarioForaDaPasta(const std::string& alvo, std::string& nome) {
    const char* pasta = std::getenv("TMPDIR");
    return criarExclusivo(pasta && *pasta ? pasta : "/tmp", nomeDe(alvo), 0600, nome);
}

// The target itself, to be written in place: never through a link, never
// what is not a regular file (a FIFO put there meanwhile would block).
int abrirParaEscrita(const std::string& alvo) {
    const int f = open(alvo.c_str(), O_WRONLY | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (f < 0)
        return -1;
    struct stat st {};
    if (fstat(f, &st) == 0 && S_ISREG(st.st_mode))
        return f;
    close(f);
    errno = EINVAL;
    return -1;
}

bool pastaRecusa(int e) {
    return e == EACCES || e == EPERM;
}

bool faltaEspaco(int e) {
    return e == ENOSPC || e == EDQUOT || e == EFBIG;
}

// Room for `total` bytes without changing the file's size or content, so
// that a full disk is found before the old content is touched. 0 or an errno.
int reservarEspaco(int fd, size_t total) {
    if (total == 0 || fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(total)) == 0)
        return 0;
    return errno == EOPNOTSUPP || errno == ENOSYS ? 0 : errno;
}

// The first `total` bytes of `origem` over the start of `destino`. 0 or an errno.
int copiar(int origem, size_t total, int destino) {
    std::vector<char> bloco(std::min(total, blocoDeCopia));
    for (size_t feito = 0; feito < total;) {
        const ssize_t n = pread(origem, bloco.data(), std::min(bloco.size(), total - feito),
                                static_cast<off_t>(feito));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        for (ssize_t escrito = 0; escrito < n;) {
            const ssize_t k = pwrite(destino, bloco.data() + escrito, size_t(n - escrito),
                                     static_cast<off_t>(feito) + escrito);
            if (k < 0 && errno != EINTR)
                return errno;
            escrito += std::max<ssize_t>(k, 0);
        }
        feito += size_t(n);
    }
    return 0;
}

// `destino` becomes the `total` bytes of `origem`: room first, then the
// bytes, the end cut and synced. 0 or an errno.
int copiarNoLugar(int origem, size_t total, int destino) {
    if (const int e = reservarEspaco(destino, total); e != 0)
        return e;
    if (const int e = copiar(origem, total, destino); e != 0)
        return e;
    if (ftruncate(destino, static_cast<off_t>(total)) != 0)
        return errno;
    return fsync(destino) == 0 ? 0 : errno;
}

// Extended attributes (ACLs among them) go over to the replacement where
// the file system keeps them; what it refuses is left out. File
// capabilities never do, as setuid never does.
void copiarAtributos(const std::string& de, int para) {
    const ssize_t tamanho = llistxattr(de.c_str(), nullptr, 0);
    if (tamanho <= 0)
        return;
    std::vector<char> nomes(size_t(tamanho) + 1, '\0');
    const ssize_t lidos = llistxattr(de.c_str(), nomes.data(), nomes.size() - 1);
    std::vector<char> valor;
    for (size_t k = 0; lidos > 0 && k < size_t(lidos); k += std::strlen(&nomes[k]) + 1) {
        const char* nome = &nomes[k];
        if (std::strcmp(nome, "security.capability") == 0)
            continue;
        const ssize_t t = lgetxattr(de.c_str(), nome, nullptr, 0);
        if (t < 0)
            continue;
        valor.resize(size_t(t));
        const ssize_t v = lgetxattr(de.c_str(), nome, valor.data(), valor.size());
        if (v >= 0 && fsetxattr(para, nome, valor.data(), size_t(v), 0) != 0) {
            // Refused (ENOTSUP, EPERM): the new file goes without it.
        }
    }
}
// Gives `de` the new name `para` only if no file has it: a hard link is the
// portable way that never replaces one; where the file system has none, a
// rename after a look (a name taken in between is the one case it replaces).
int renomearSemSubstituir(const std::string& de, const std::string& para) {
    if (link(de.c_str(), para.c_str()) == 0) {
        unlink(de.c_str());
        return 0;
    }
    const int e = errno;
    if (e != EPERM && e != ENOTSUP && e != ENOSYS)
        return e;
    struct stat st {};
    if (lstat(para.c_str(), &st) == 0)
        return EEXIST;
    return std::rename(de.c_str(), para.c_str()) == 0 ? 0 : errno;
}
} // namespace

GravacaoSegura::GravacaoSegura(const std::string& destino) {
    abrir(destino);
}

GravacaoSegura::~GravacaoSegura() {
    abandonar();
}

bool GravacaoSegura::abrir(const std::string& destino) {
    Destino d;
    if (const int e = resolver(destino, d); e != 0)
        return falhar(e);
    alvo = d.caminho;
    existia = d.existe;
    modoAlvo = d.st.st_mode & 0777;
    donoAlvo = d.st.st_uid;
    grupoAlvo = d.st.st_gid;
    if (d.existe && !S_ISREG(d.st.st_mode)) {
        // A device or a FIFO takes the bytes as they come.
        fd = open(alvo.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        modo = Modo::direto;
        return fd >= 0 || falhar(errno);
    }
    limparSobras(d);
    fd = criarTemporarioEm(d, temporario);
    if (fd >= 0) {
        modo = Modo::temporario;
        // Every name of a file with several hard links must see the new
        // content; one this user may not write is replaced as any other.
        if (d.existe && d.st.st_nlink > 1)
            fdAlvo = abrirParaEscrita(alvo);
        return true;
    }
    const int e = errno;
    if (!(d.existe && pastaRecusa(e)))
        return falhar(e);
    return abrirCopiaNoLugar();
}

// The folder refuses new files, the file itself may be written: the new
// content is made in $TMPDIR and copied over it at the end.
bool GravacaoSegura::abrirCopiaNoLugar() {
    fdAlvo = abrirParaEscrita(alvo);
    if (fdAlvo < 0)
        return falhar(errno);
    fd = criarTemporarioForaDaPasta(alvo, temporario);
    if (fd >= 0) {
        modo = Modo::temporario;
        foraDaPasta = true;
        return true;
    }
    // $TMPDIR cannot take it: the file is written as the content comes.
    fd = fdAlvo;
    fdAlvo = -1;
    modo = Modo::noLugar;
    return true;
}

// $TMPDIR filled up: what it holds goes to the file, which is written
// directly from here on.
bool GravacaoSegura::passarParaDireto() {
    if (copiar(fd, escritos, fdAlvo) != 0 ||
        lseek(fdAlvo, static_cast<off_t>(escritos), SEEK_SET) < 0)
        return false;
    close(fd);
    unlink(temporario.c_str());
    temporario.clear();
    fd = fdAlvo;
    fdAlvo = -1;
    foraDaPasta = false;
    modo = Modo::noLugar;
    return true;
}

bool GravacaoSegura::noLugar() const {
    return modo == Modo::noLugar || (modo == Modo::temporario && fdAlvo >= 0);
}

void GravacaoSegura::reservar(size_t total) {
    const int f = modo == Modo::noLugar ? fd : fdAlvo;
    if (f < 0 || erroSistema)
        return;
    if (const int e = reservarEspaco(f, total); e != 0)
        falhar(e);
}

bool GravacaoSegura::escrever(const void* dados, size_t n) {
    if (fd < 0 || erroSistema)
        return false;
    const char* p = static_cast<const char*>(dados);
    while (n > 0) {
        const ssize_t k = write(fd, p, n);
        const int e = k < 0 ? errno : 0;
        if (e == EINTR || (foraDaPasta && faltaEspaco(e) && passarParaDireto()))
            continue;
        if (k < 0)
            return falhar(e);
        p += k;
        n -= static_cast<size_t>(k);
        escritos += static_cast<size_t>(k);
    }
    return true;
}

bool GravacaoSegura::concluir() {
    if (fd < 0 || erroSistema) {
        abandonar();
        return falhar(erroSistema ? erroSistema : EBADF);
    }
    if (modo == Modo::temporario)
        return concluirTemporario();
    bool ok = true;
    if (modo == Modo::noLugar)
        ok = ftruncate(fd, static_cast<off_t>(escritos)) == 0 || falhar(errno);
    if (ok && modo != Modo::direto)
        ok = fsync(fd) == 0 || falhar(errno);
    const int f = fd;
    fd = -1;
    ok = (close(f) == 0 || falhar(errno)) && ok;
    abandonar();
    return ok;
}

int GravacaoSegura::concluirComo(const std::string& outro) {
    if (temporario.empty() || fd < 0 || erroSistema) {
        abandonar();
        falhar(erroSistema ? erroSistema : ENOTSUP);
        return erroSistema;
    }
    if (fsync(fd) != 0) {
        falhar(errno);
        manterTemporario();
        abandonar();
        return erroSistema;
    }
    const int e = renomearSemSubstituir(temporario, outro);
    if (e == EEXIST)
        return e;
    if (e == 0) {
        temporario.clear();
    } else {
        // Another file system ($TMPDIR): the content stays where it was made.
        falhar(e);
        manterTemporario();
    }
    abandonar();
    return e;
}

bool GravacaoSegura::concluirTemporario() {
    const bool copiarNoAlvo = fdAlvo >= 0;
    if (existia && !copiarNoAlvo)
        ajustarComoAlvo();
    if (fsync(fd) != 0) {
        falhar(errno);
        abandonar();
        return false;
    }
    if (copiarNoAlvo)
        return porNoLugar(0);
    if (std::rename(temporario.c_str(), alvo.c_str()) == 0) {
        temporario.clear();
        abandonar();
        return true;
    }
    // A bind mount (EBUSY), another user's file in a sticky folder (EPERM):
    // the file may still be written in place.
    const int e = errno;
    if (existia)
        fdAlvo = abrirParaEscrita(alvo);
    return porNoLugar(e);
}

// Copies the complete temporary over the target (open in `fdAlvo`), or
// keeps it when that cannot be done. `e`: why the rename failed, if it did.
bool GravacaoSegura::porNoLugar(int e) {
    if (fdAlvo >= 0) {
        const int copia = copiarNoLugar(fd, escritos, fdAlvo);
        if (copia == 0) {
            abandonar();
            return true;
        }
        e = e ? e : copia;
    }
    falhar(e);
    manterTemporario();
    abandonar();
    return false;
}

// The replacement keeps the owner (where allowed), the permission bits
// (setuid and setgid are not carried over to new content) and the
// extended attributes.
void GravacaoSegura::ajustarComoAlvo() {
    if (fchown(fd, donoAlvo, grupoAlvo) != 0) {
        // Not allowed: the new file is this user's, as a new file would be.
    }
    fchmod(fd, modoAlvo);
    copiarAtributos(alvo, fd);
}

// The complete result is never deleted: it gets a name of its own where it
// was made (no cleanup takes "<name>.novo-XXXXXX"), or stays as it is.
void GravacaoSegura::manterTemporario() {
    temporarioMantido = temporario;
    const std::string base =
        pastaDe(temporario) + "/" + nomeDe(alvo).substr(0, maiorNomeNoTemporario) + marcaMantido;
    for (int k = 0; k < tentativasDeNome; ++k) {
        const std::string nome = base + letras();
        const int e = renomearSemSubstituir(temporario, nome);
        if (e == 0)
            temporarioMantido = nome;
        if (e != EEXIST)
            break;
    }
    temporario.clear();
}

bool GravacaoSegura::falhar(int e) {
    if (erroSistema == 0)
        erroSistema = e;
    return false;
}

void GravacaoSegura::abandonar() {
    if (fd >= 0)
        close(fd);
    fd = -1;
    if (fdAlvo >= 0)
        close(fdAlvo);
    fdAlvo = -1;
    if (!temporario.empty())
        unlink(temporario.c_str());
    temporario.clear();
}

int GravacaoSegura::gravar(const std::string& destino, const void* dados, size_t n,
                           std::string* mantido) {
    GravacaoSegura g(destino);
    g.reservar(n);
    g.escrever(dados, n);
    g.concluir();
    if (mantido)
        *mantido = g.temporarioMantido;
    return g.erro();
}

int GravacaoSegura::verificar(const std::string& destino) {
    Destino d;
    if (const int e = resolver(destino, d); e != 0)
        return e;
    if (d.existe && !S_ISREG(d.st.st_mode))
        return access(d.caminho.c_str(), W_OK) == 0 ? 0 : errno;
    std::string nome;
    const int fd = criarTemporarioEm(d, nome);
    if (fd >= 0) {
        close(fd);
        unlink(nome.c_str());
        return 0;
    }
    const int e = errno;
    if (d.existe && pastaRecusa(e))
        return access(d.caminho.c_str(), W_OK) == 0 ? 0 : errno;
    return e;
}

std::string GravacaoSegura::descricao(int erro) {
    if (erro == erroLigacaoAlheia)
        return "Symbolic link of another user in a shared folder";
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c ? strerror_l(erro, c) : std::strerror(erro);
}

} // namespace keldo::io
