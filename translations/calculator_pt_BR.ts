<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name>Bmp</name>
    <message>
        <source>There is no picture to save</source>
        <translation>Não há imagem para salvar</translation>
    </message>
    <message>
        <source>The picture is too large for a BMP file</source>
        <translation>A imagem é grande demais para um arquivo BMP</translation>
    </message>
</context>
<context>
    <name>Guard</name>
    <message>
        <source>Unknown failure</source>
        <translation>Falha desconhecida</translation>
    </message>
</context>
<context>
    <name>Keypad</name>
    <message>
        <source>seven</source>
        <translation>sete</translation>
    </message>
    <message>
        <source>eight</source>
        <translation>oito</translation>
    </message>
    <message>
        <source>nine</source>
        <translation>nove</translation>
    </message>
    <message>
        <source>four</source>
        <translation>quatro</translation>
    </message>
    <message>
        <source>five</source>
        <translation>cinco</translation>
    </message>
    <message>
        <source>six</source>
        <translation>seis</translation>
    </message>
    <message>
        <source>one</source>
        <translation>um</translation>
    </message>
    <message>
        <source>two</source>
        <translation>dois</translation>
    </message>
    <message>
        <source>three</source>
        <translation>três</translation>
    </message>
    <message>
        <source>zero</source>
        <translation>zero</translation>
    </message>
    <message>
        <source>negative sign</source>
        <translation>sinal negativo</translation>
    </message>
    <message>
        <source>decimal comma</source>
        <translation>vírgula decimal</translation>
    </message>
    <message>
        <source>divide</source>
        <translation>dividir</translation>
    </message>
    <message>
        <source>multiply</source>
        <translation>multiplicar</translation>
    </message>
    <message>
        <source>subtract</source>
        <translation>subtrair</translation>
    </message>
    <message>
        <source>add</source>
        <translation>somar</translation>
    </message>
    <message>
        <source>power</source>
        <translation>potência</translation>
    </message>
    <message>
        <source>square root</source>
        <translation>raiz quadrada</translation>
    </message>
    <message>
        <source>sine</source>
        <translation>seno</translation>
    </message>
    <message>
        <source>cosine</source>
        <translation>cosseno</translation>
    </message>
    <message>
        <source>equals</source>
        <translation>igual</translation>
    </message>
    <message>
        <source>variable x</source>
        <translation>variável x</translation>
    </message>
    <message>
        <source>variable y</source>
        <translation>variável y</translation>
    </message>
    <message>
        <source>variable z</source>
        <translation>variável z</translation>
    </message>
    <message>
        <source>clear</source>
        <translation>limpar</translation>
    </message>
    <message>
        <source>open parenthesis</source>
        <translation>abre parêntese</translation>
    </message>
    <message>
        <source>close parenthesis</source>
        <translation>fecha parêntese</translation>
    </message>
    <message>
        <source>erase</source>
        <translation>apagar</translation>
    </message>
    <message>
        <source>graph</source>
        <translation>gráfico</translation>
    </message>
    <message>
        <source>tangent</source>
        <translation>tangente</translation>
    </message>
    <message>
        <source>exponent mark</source>
        <translation>marca de expoente</translation>
    </message>
    <message>
        <source>constant e</source>
        <translation>constante e</translation>
    </message>
    <message>
        <source>pi</source>
        <translation>pi</translation>
    </message>
    <message>
        <source>logarithm</source>
        <translation>logaritmo</translation>
    </message>
    <message>
        <source>natural logarithm</source>
        <translation>logaritmo natural</translation>
    </message>
    <message>
        <source>previous answer</source>
        <translation>resposta anterior</translation>
    </message>
</context>
<context>
    <name>Reading</name>
    <message>
        <source>x %1, no value</source>
        <translation>x %1, sem valor</translation>
    </message>
    <message>
        <source>x %1, y %2</source>
        <translation>x %1, y %2</translation>
    </message>
    <message>
        <source>above the view</source>
        <translation>acima da vista</translation>
    </message>
    <message>
        <source>below the view</source>
        <translation>abaixo da vista</translation>
    </message>
    <message>
        <source>crosses zero</source>
        <translation>cruza o zero</translation>
    </message>
    <message>
        <source>maximum</source>
        <translation>máximo</translation>
    </message>
    <message>
        <source>minimum</source>
        <translation>mínimo</translation>
    </message>
    <message>
        <source>before a gap</source>
        <translation>antes de uma lacuna</translation>
    </message>
    <message>
        <source>after a gap</source>
        <translation>depois de uma lacuna</translation>
    </message>
    <message>
        <source>no more points to the right</source>
        <translation>não há mais pontos à direita</translation>
    </message>
    <message>
        <source>no more points to the left</source>
        <translation>não há mais pontos à esquerda</translation>
    </message>
    <message>
        <source>x from %1 to %2, y from %3 to %4</source>
        <translation>x de %1 a %2, y de %3 a %4</translation>
    </message>
    <message>
        <source>Graph of %1, %2</source>
        <translation>Gráfico de %1, %2</translation>
    </message>
    <message>
        <source>Dragging traces the curve or draws a zoom box, as Trace or ZoomBox says.
Keys: Left and Right walk the curve (with Shift, 10 columns), Home and End go to its ends, Ctrl+Left and Ctrl+Right (or Page Up and Page Down) jump to its zeros, peaks and gaps, and S plays it as sound.</source>
        <translation>Arrastar percorre a curva ou desenha uma caixa de zoom, conforme Trace ou ZoomBox.
Teclas: Esquerda e Direita percorrem a curva (com Shift, 10 colunas), Home e End vão às suas pontas, Ctrl+Esquerda e Ctrl+Direita (ou Page Up e Page Down) saltam para seus zeros, picos e lacunas, e S a toca como som.</translation>
    </message>
    <message>
        <source>step %1</source>
        <translation>passo %1</translation>
    </message>
    <message>
        <source>no value in view</source>
        <translation>nenhum valor na vista</translation>
    </message>
    <message>
        <source>does not cross zero</source>
        <translation>não cruza o zero</translation>
    </message>
    <message>
        <source>crosses zero once</source>
        <translation>cruza o zero uma vez</translation>
    </message>
    <message>
        <source>crosses zero %1 times</source>
        <translation>cruza o zero %1 vezes</translation>
    </message>
    <message>
        <source>above and below the view</source>
        <translation>acima e abaixo da vista</translation>
    </message>
    <message>
        <source>y %1 throughout</source>
        <translation>y %1 em toda a vista</translation>
    </message>
    <message>
        <source>highest %1 at x %2</source>
        <translation>mais alto %1 em x %2</translation>
    </message>
    <message>
        <source>lowest %1 at x %2</source>
        <translation>mais baixo %1 em x %2</translation>
    </message>
    <message>
        <source>goes above the view</source>
        <translation>sai por cima da vista</translation>
    </message>
    <message>
        <source>goes below the view</source>
        <translation>sai por baixo da vista</translation>
    </message>
    <message>
        <source>one gap</source>
        <translation>uma lacuna</translation>
    </message>
    <message>
        <source>%1 gaps</source>
        <translation>%1 lacunas</translation>
    </message>
</context>
<context>
    <name>TApplication</name>
    <message>
        <source>calculator: no display found; start it under a virtual X server:</source>
        <translation>calculator: nenhuma tela encontrada; inicie-o em um servidor X virtual:</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>expression</source>
        <translation>expressão</translation>
    </message>
    <message>
        <source>postfix notation</source>
        <translation>notação pós-fixa</translation>
    </message>
    <message>
        <source>result</source>
        <translation>resultado</translation>
    </message>
    <message>
        <source>value of x</source>
        <translation>valor de x</translation>
    </message>
    <message>
        <source>value of y</source>
        <translation>valor de y</translation>
    </message>
    <message>
        <source>value of z</source>
        <translation>valor de z</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>controls</source>
        <translation>controles</translation>
    </message>
    <message>
        <source>plot</source>
        <translation>gráfico</translation>
    </message>
    <message>
        <source>pan up</source>
        <translation>deslocar para cima</translation>
    </message>
    <message>
        <source>Move the picture up %1 pixels</source>
        <translation>Mover a imagem %1 pixels para cima</translation>
    </message>
    <message>
        <source>pan left</source>
        <translation>deslocar para a esquerda</translation>
    </message>
    <message>
        <source>Move the picture left %1 pixels</source>
        <translation>Mover a imagem %1 pixels para a esquerda</translation>
    </message>
    <message>
        <source>pan right</source>
        <translation>deslocar para a direita</translation>
    </message>
    <message>
        <source>Move the picture right %1 pixels</source>
        <translation>Mover a imagem %1 pixels para a direita</translation>
    </message>
    <message>
        <source>pan down</source>
        <translation>deslocar para baixo</translation>
    </message>
    <message>
        <source>Move the picture down %1 pixels</source>
        <translation>Mover a imagem %1 pixels para baixo</translation>
    </message>
    <message>
        <source>zoom in</source>
        <translation>aumentar zoom</translation>
    </message>
    <message>
        <source>Zoom in about the point (0, 0)</source>
        <translation>Aumentar o zoom em torno do ponto (0, 0)</translation>
    </message>
    <message>
        <source>zoom out</source>
        <translation>diminuir zoom</translation>
    </message>
    <message>
        <source>Zoom out about the point (0, 0)</source>
        <translation>Diminuir o zoom em torno do ponto (0, 0)</translation>
    </message>
    <message>
        <source>finer sampling</source>
        <translation>amostragem mais fina</translation>
    </message>
    <message>
        <source>coarser sampling</source>
        <translation>amostragem mais grossa</translation>
    </message>
    <message>
        <source>trace mode</source>
        <translation>modo de rastreamento</translation>
    </message>
    <message>
        <source>Dragging over the picture puts a square on the curve and shows its value</source>
        <translation>Arrastar sobre a imagem põe um quadrado na curva e mostra o valor nesse ponto</translation>
    </message>
    <message>
        <source>zoom box mode</source>
        <translation>modo de caixa de zoom</translation>
    </message>
    <message>
        <source>Dragging over the picture draws a box; the view then zooms into it</source>
        <translation>Arrastar sobre a imagem desenha uma caixa; o zoom então se ajusta a ela</translation>
    </message>
    <message>
        <source>fit vertical range</source>
        <translation>ajustar intervalo vertical</translation>
    </message>
    <message>
        <source>Fit the vertical range to the values sampled since the last zoom, y = 0 included</source>
        <translation>Ajustar o intervalo vertical aos valores amostrados desde o último zoom, incluindo y = 0</translation>
    </message>
    <message>
        <source>reset view</source>
        <translation>restaurar visualização</translation>
    </message>
    <message>
        <source>column sampling</source>
        <translation>amostragem por colunas</translation>
    </message>
    <message>
        <source>Ticked: one sample every step pixels across the picture. Not ticked: one segment every step units of x, from %1 to %2</source>
        <translation>Marcado: uma amostra a cada passo em pixels ao longo da imagem. Desmarcado: um segmento a cada passo em unidades de x, de %1 a %2</translation>
    </message>
    <message>
        <source>pen width</source>
        <translation>espessura da curva</translation>
    </message>
    <message>
        <source>horizontal range</source>
        <translation>intervalo horizontal</translation>
    </message>
    <message>
        <source>vertical range</source>
        <translation>intervalo vertical</translation>
    </message>
    <message>
        <source>the step is %1 pixel</source>
        <translation>o passo é de %1 pixel</translation>
    </message>
    <message>
        <source>the step is %1 pixels</source>
        <translation>o passo é de %1 pixels</translation>
    </message>
    <message>
        <source>the step is %1 unit of x</source>
        <translation>o passo é de %1 unidade de x</translation>
    </message>
    <message>
        <source>the step is %1 units of x</source>
        <translation>o passo é de %1 unidades de x</translation>
    </message>
    <message>
        <source>Finer sampling: %1; each click takes %2 off, down to %3</source>
        <translation>Amostragem mais fina: %1; cada clique tira %2, até o mínimo de %3</translation>
    </message>
    <message>
        <source>Coarser sampling: %1; each click adds %2</source>
        <translation>Amostragem mais grossa: %1; cada clique acrescenta %2</translation>
    </message>
    <message>
        <source>Pen width of the curve: %1 pixels</source>
        <translation>Espessura da curva: %1 pixels</translation>
    </message>
    <message>
        <source>Pen width of the curve: %1 pixel</source>
        <translation>Espessura da curva: %1 pixel</translation>
    </message>
    <message>
        <source>Width of the world shown: %1</source>
        <translation>Largura da região mostrada: %1</translation>
    </message>
    <message>
        <source>Height of the world shown: %1</source>
        <translation>Altura da região mostrada: %1</translation>
    </message>
    <message>
        <source>Put (0, 0) in the middle, both ranges at %1 and the step at %2</source>
        <translation>Colocar (0, 0) no centro, ambos os intervalos em %1 e o passo em %2</translation>
    </message>
    <message>
        <source>The picture is not saved as %1</source>
        <translation>A imagem não está salva como %1</translation>
    </message>
</context>
</TS>
