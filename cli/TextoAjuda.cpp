#include "cli/OpcoesExecucao.h"
#include "sim/CKeldoDoc.h"
#include "sim/EstatisticasPopulacao.h"
#include "sim/ParametrosPorNome.h"

namespace keldo::cli {

using namespace keldo::sim;

namespace {
// The summary's allele columns of the autosomal genes, "V1;...;N".
std::string colunasAutossomicas() {
    std::string colunas;
    for (int k = 0; k < AleloResumo::D; ++k) {
        colunas += k ? ";" : "";
        colunas += AleloResumo::nomes[static_cast<size_t>(k)];
    }
    return colunas;
}
// The first heterozygosity columns, "HoV;HeV;HoR;HeR;RR;rr;...".
std::string colunasHeterozigose() {
    std::string cabecalho = EstatisticasPopulacao::cabecalhoCsv();
    const size_t inicio = cabecalho.find(";HoV;") + 1;
    return cabecalho.substr(inicio, cabecalho.find(";HoP;") - inicio) + ";...";
}
} // namespace

std::string textoAjuda() {
    std::string texto =
        "Uso: keldo-run [--seed N] [--cycles N] [--new] [--set NOME=VALOR]... [--trace ARQUIVO]\n"
        "                [--summary ARQUIVO] [--save ARQUIVO] [--referencia] [PROJETO.gen]\n"
        "       keldo-run --experiment [--replicates R] [--vary NOME=LISTA]...\n"
        "                [--vary-together NOME=LISTA NOME=LISTA...]... [--jobs J]\n"
        "                [--every K|geracao] [--until CONDIÇÃO]... [--table ARQUIVO]\n"
        "                [--record ARQUIVO] [--resume ANTERIOR] [--task I/N] [--seed S]\n"
        "                [--cycles N] [--set NOME=VALOR]... [PROJETO.gen]\n"
        "       keldo-run --merge SAÍDA TABELA...\n"
        "\n"
        "Executa uma simulação sem janela e imprime a linha de status ao final.\n"
        "Sem PROJETO, cria um mundo novo com os parâmetros padrão; com PROJETO, carrega-o\n"
        "e continua a simulação.\n"
        "\n"
        "  --seed N          semente do gerador (0 a 4294967295): usada ao criar o mundo,\n"
        "                    ou logo após carregar o projeto quando ele é continuado. Sem\n"
        "                    ela, a semente vem da fonte de entropia do sistema; a semente\n"
        "                    usada sai sempre na saída de erros (\"semente: N\")\n"
        "  --cycles N        ciclos a executar (padrão 100)\n"
        "  --new             com PROJETO: cria um mundo novo a partir dos parâmetros e da\n"
        "                    população definida do projeto, como \"Novo\" após \"Abrir\"\n"
        "  --set NOME=VALOR  define um parâmetro pelo nome do campo (pode repetir); vale\n"
        "                    depois da carga e antes da criação do mundo\n"
        "  --referencia      executa tudo pelo caminho de referência (varreduras das listas\n"
        "                    inteiras, obstáculos retângulo a retângulo): as mesmas saídas,\n"
        "                    mais devagar; serve para conferir os índices\n"
        "  --trace ARQUIVO   acrescenta as linhas de todos os indivíduos ao ARQUIVO após\n"
        "                    cada ciclo (gerarTrace ligado grava também keldo_trace.txt)\n"
        "  --summary ARQUIVO grava no ARQUIVO (\"-\": na saída padrão, e a linha de status\n"
        "                    vai para a saída de erros) o resumo por ciclo: um cabeçalho, uma "
        "linha\n"
        "                    do estado inicial e uma por ciclo, separadas por \";\" (UTF-8,\n"
        "                    fim de linha LF). Colunas: tempo;adultos;ovos;mortos;geracao;\n"
        "                    alimentos e as frequências " +
        colunasAutossomicas() +
        "\n"
        "                    (sobre 2 por indivíduo vivo), " +
        AleloResumo::nomes[AleloResumo::D] + " (sobre os cromossomos X) e " +
        AleloResumo::nomes[AleloResumo::C] +
        "\n"
        "                    (sobre os Y), com 4 casas decimais; NA sem portadores.\n"
        "                    Depois delas, para cada gene autossômico, Ho e He seguidos\n"
        "                    da sigla (" +
        colunasHeterozigose() +
        "):\n"
        "                    heterozigotos observados e esperados por Hardy-Weinberg\n"
        "                    (1 - soma dos quadrados das frequências); nos genes de dois\n"
        "                    alelos, também os dois homozigotos (RR e rr, ...)\n"
        "  --save ARQUIVO    salva o projeto no ARQUIVO após o último ciclo (snapshot\n"
        "                    primeiro, na pasta do ARQUIVO); os salvamentos periódicos\n"
        "                    também vão para ele, senão para o PROJETO continuado, senão\n"
        "                    para lugar nenhum; a numeração dos snapshots para em\n"
        "                    2147483647, que é regravado. \"-\": o projeto vai para a saída\n"
        "                    padrão (sem snapshot nem salvamentos periódicos, e a linha de\n"
        "                    status vai para a saída de erros)\n"
        "\n"
        "Experimentos (veja a página \"Experimentos\" do manual, no KeldoHP):\n"
        "  --experiment      roda todas as combinações das listas de --vary vezes as\n"
        "                    réplicas, numeradas de 1 (parâmetros na ordem dada, réplicas\n"
        "                    por dentro), e grava uma tabela: experimento;execucao;semente;\n"
        "                    os parâmetros variados, as colunas de --summary, a\n"
        "                    contagem de cada alelo (n_V1...n_C) e parada (vazia, ou na\n"
        "                    última linha da execução: a condição, ciclos, limite ou\n"
        "                    erro)\n"
        "  --replicates R    réplicas de cada combinação (padrão 1)\n"
        "  --vary NOME=LISTA varia um parâmetro: v1,v2,... ou primeiro:passo:último;\n"
        "                    no máximo " +
        std::to_string(Varredura::maximoDeValores) + " valores por lista e " +
        std::to_string(Varredura::maximoDeExecucoes) +
        " execuções,\n"
        "                    e nenhum valor que toda execução recusaria (senão, saída 2)\n"
        "  --vary-together NOME=LISTA NOME=LISTA...\n"
        "                    varia os parâmetros juntos, uma combinação por posição\n"
        "                    (listas do mesmo tamanho)\n"
        "  --jobs J          execuções ao mesmo tempo, no máximo " +
        std::to_string(OpcoesExperimento::maximoDeTrabalhos) +
        " (padrão: os\n"
        "                    processadores que o processo pode usar); o número sai na\n"
        "                    saída de erros antes da primeira execução\n"
        "  --every K         registra no início, a cada K ciclos e no último (padrão 0:\n"
        "                    só o início e o último); geracao: no primeiro ciclo de cada\n"
        "                    nova geração\n"
        "  --until CONDIÇÃO  termina a execução em extincao, sem-adultos, fixacao:GENE,\n"
        "                    perda:ALELO ou geracao:G; repetida, na primeira que valer\n"
        "  --table ARQUIVO   onde gravar a tabela (padrão: a saída padrão); ao lado,\n"
        "                    ARQUIVO.json diz o que a fez e como cada execução terminou\n"
        "  --record ARQUIVO  onde gravar esse registro (com a tabela na saída padrão)\n"
        "  --resume ANTERIOR aproveita as execuções inteiras da tabela ANTERIOR (parcial,\n"
        "                    ou terminada e estendida com mais réplicas ou valores)\n"
        "  --task I/N        só as execuções k com k mod N = I (exige --seed)\n"
        "  --merge SAÍDA TABELA...  junta as tabelas das tarefas de um experimento\n"
        "\n"
        "  --params          lista os parâmetros de --set: nome, tipo, padrão, faixa do\n"
        "                    diálogo, faixa aceita e o que fazem\n"
        "  --help            mostra esta ajuda\n"
        "  --version         mostra a versão do programa\n"
        "\n"
        "Parâmetros de --set:\n";
    std::string linha = " ";
    for (const std::string& nome : nomesDeParametros()) {
        if (linha.size() + nome.size() + 1 > 80) {
            texto += linha;
            texto += '\n';
            linha.erase(1); // keep the indent
        }
        linha += ' ';
        linha += nome;
    }
    texto += linha;
    texto += "\n\n"
             "Os indivíduos mortos passam, em lotes de 4096, para um arquivo temporário sem\n"
             "nome na pasta de TMPDIR (ou /tmp), apagado ao fim: 88 bytes por morto. Se o\n"
             "arquivo não puder ser gravado, eles ficam na memória.\n"
             "\n"
             "Antes do primeiro ciclo, a execução é recusada se dois dos arquivos PROJETO,\n"
             "--save, seus snapshots, --trace, --summary e keldo_trace.txt forem o mesmo\n"
             "arquivo (também por link; salvar por cima do PROJETO lido é permitido; saída 2),\n"
             "ou se um arquivo a gravar não puder ser gravado (saída 1).\n"
             "\n"
             "Nenhum ciclo leva o mundo a mais de " +
             std::to_string(CKeldoDoc::limiteMundo) +
             " indivíduos vivos e alimentos: a\n"
             "execução para antes do ciclo que levaria, com o mundo como estava, e os\n"
             "arquivos pedidos são gravados como ao fim. Um PROJETO maior é recusado.\n"
             "\n"
             "Códigos de saída: 0 sucesso, 1 erro de arquivo ou mundo no limite, 2 erro de\n"
             "uso.\n";
    return texto;
}

} // namespace keldo::cli
